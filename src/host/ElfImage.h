#pragma once
// Whether a file is a shared library this program can map whole: the loader maps a library's
// segments straight from the file, and a segment that reaches past the end of a file cut short
// (an interrupted copy) faults the process the moment it is touched.

#include <string>

namespace vlt {

// Why the open file `fd` is no complete shared library of this machine's class and architecture,
// "" when it is one: an ELF shared object whose program headers and loadable segments all lie
// inside the file.
std::u16string elfImageRefusal(int fd);

}  // namespace vlt
