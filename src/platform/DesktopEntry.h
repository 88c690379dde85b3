#pragma once
// Writing the values of desktop entries (the autostart entry, the file-association entry) so
// that a desktop reads back exactly the program path it was given, whatever that path holds.

#include <string>
#include <string_view>

namespace vlt {

// The value of an Exec key that runs `program` with `arguments` after it. The program is one
// argument: quoted, with '"', '`', '$' and '\' escaped by a backslash and '%' doubled so that it
// is no field code; the whole value is then escaped as a desktop-entry string (backslashes
// doubled, line breaks and tabs as "\n", "\r", "\t"). `arguments` (such as "%f" or "-tray") are
// written as they are and must need no escaping.
std::string DesktopExecValue(const std::string& program, std::string_view arguments);

// Writes a desktop file (readable by everyone, like the ones a package installs), creating its
// folders and replacing an older file whole. False when it could not be written.
bool WriteDesktopFile(const std::string& path, std::string_view text);

}  // namespace vlt
