#pragma once
// The Windows-1252 code page of old file formats.

#include <string>
#include <string_view>

namespace vlt {

// Windows-1252 bytes to UTF-16 (the five unassigned bytes map to the C1 code points).
std::u16string fromWindows1252(std::string_view text);
// UTF-16 to Windows-1252 bytes; a character the code page lacks becomes '?'.
std::string toWindows1252(std::u16string_view text);

}  // namespace vlt
