#pragma once
// Writing the values of desktop entries (the autostart entry, the file-association entry) so
// that a desktop reads back exactly the program path it was given, whatever that path holds,
// and reading back which program an entry starts.

#include <string>
#include <string_view>

namespace vlt {

// The value of an Exec key that runs `program` with `arguments` after it. The program is one
// argument: quoted, with '"', '`', '$' and '\' escaped by a backslash and '%' doubled so that it
// is no field code; the whole value is then escaped as a desktop-entry string (backslashes
// doubled, line breaks and tabs as "\n", "\r", "\t"). `arguments` (such as "%f" or "-tray") are
// written as they are and must need no escaping.
std::string DesktopExecValue(const std::string& program, std::string_view arguments);

// `text` escaped as a desktop-entry string value (backslashes doubled, line breaks and tabs as
// "\n", "\r", "\t"), as for TryExec.
std::string DesktopStringValue(const std::string& text);

// The value of `key` in the "[Desktop Entry]" group of a desktop file's text, as written (still
// escaped); "" when the key is not there.
std::string DesktopEntryValue(std::string_view fileText, std::string_view key);

// The program an Exec value starts: its first argument, the string escapes undone, then its
// quoting. A name without "/" is to be looked up on $PATH.
std::string DesktopExecProgram(std::string_view execValue);

// Writes a desktop file (readable by everyone, like the ones a package installs), creating its
// folders and replacing an older file whole. False when it could not be written.
bool WriteDesktopFile(const std::string& path, std::string_view text);

}  // namespace vlt
