#pragma once
// Whether the application entry a desktop would use under a given name starts this very program,
// so that the program can be registered through that entry instead of a copy of its own.

#include <string>

namespace vlt {

// Desktops take the first file named `fileName` in `dataHome`/applications ($XDG_DATA_HOME),
// then in applications/ of each folder of $XDG_DATA_DIRS (by default /usr/local/share and
// /usr/share). True when that file's Exec starts the program at `programPath`: it names the same
// file, directly or through links, or as a command found on $PATH.
bool EntryStartsProgram(const std::string& dataHome, const std::string& fileName,
                        const std::string& programPath);

}  // namespace vlt
