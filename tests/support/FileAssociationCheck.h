#pragma once
// Reads back a file-association registration from the XDG folders the environment names, as a
// desktop would find it.

#include <string>

namespace vlt::test {

// True when ".vlt" files are registered to open with `programPath`: the MIME package is there,
// the desktop file is the shipped one running that program, and mimeapps.list names it as the
// container type's default.
bool IsFileAssociationApplied(const std::string& programPath);

}  // namespace vlt::test
