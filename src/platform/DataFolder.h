#pragma once
// Where the program keeps "Config.ini", "Recent.ini" and "VLT.log": beside the program file
// when a "Config.ini" stands there (a portable installation, e.g. on a USB stick), otherwise in
// the user's configuration folder.

#include <cstdlib>
#include <functional>
#include <string>

namespace vlt {

struct ProgramPaths {
    std::string ProgramFolder;  // the program file's folder, ending in "/"
    std::string DataFolder;     // ends in "/"; "" (the working directory) when no home is known
    std::string ConfigPath;     // DataFolder + "Config.ini"
    std::string RecentPath;     // DataFolder + "Recent.ini"
    std::string LogPath;        // DataFolder + "VLT.log"
    int PortableMode = 0;       // 1 when the files live beside the program
};

// Chooses the folders for the program file at `programFile`. Portable when a regular file
// "Config.ini" is beside it; otherwise $XDG_CONFIG_HOME (an absolute path; else $HOME/.config)
// + "/Orvelline/Orvelline Vaultwick/", whose missing levels are created owner-only (failures
// are ignored: the settings reader reports a folder it cannot write to). `getenv` is injectable
// for tests.
ProgramPaths ChooseProgramPaths(const std::string& programFile,
                                const std::function<const char*(const char*)>& getenv = ::getenv);

// The user's configuration folder without a trailing "/": $XDG_CONFIG_HOME when it is absolute,
// else $HOME/.config; "" when no home can be found.
std::string XdgConfigHome(const std::function<const char*(const char*)>& getenv = ::getenv);

}  // namespace vlt
