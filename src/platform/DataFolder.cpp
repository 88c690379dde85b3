#include "platform/DataFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace vlt {

namespace {

constexpr const char* kDataSubfolder = "Orvelline/Orvelline Vaultwick/";

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string withoutTrailingSlashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

std::string homeFolder(const std::function<const char*(const char*)>& getenv) {
    const char* home = getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    // No usable $HOME (a service, a stripped environment): ask the password database.
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

// The per-user folder, or "" (the working directory) when no home can be found.
std::string userDataFolder(const std::function<const char*(const char*)>& getenv) {
    const std::string base = XdgConfigHome(getenv);
    if (base.empty()) {
        return {};
    }
    return (base == "/" ? base : base + "/") + kDataSubfolder;
}

// Creates every missing level of the folder, from the top down.
void createFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        ::mkdir(folder.substr(0, slash).c_str(), 0700);
    }
}

}  // namespace

std::string XdgConfigHome(const std::function<const char*(const char*)>& getenv) {
    // The XDG rules ignore a relative $XDG_CONFIG_HOME.
    const char* configHome = getenv("XDG_CONFIG_HOME");
    std::string base;
    if (configHome != nullptr && configHome[0] == '/') {
        base = configHome;
    } else {
        std::string home = homeFolder(getenv);
        if (home.empty()) {
            return {};
        }
        base = withoutTrailingSlashes(home) + "/.config";
    }
    return withoutTrailingSlashes(base);
}

ProgramPaths ChooseProgramPaths(const std::string& programFile,
                                const std::function<const char*(const char*)>& getenv) {
    ProgramPaths paths;
    std::size_t slash = programFile.rfind('/');
    paths.ProgramFolder = slash == std::string::npos ? "./" : programFile.substr(0, slash + 1);
    if (isRegularFile(paths.ProgramFolder + "Config.ini")) {
        paths.PortableMode = 1;
        paths.DataFolder = paths.ProgramFolder;
    } else {
        paths.DataFolder = userDataFolder(getenv);
        createFolders(paths.DataFolder);
    }
    paths.ConfigPath = paths.DataFolder + "Config.ini";
    paths.RecentPath = paths.DataFolder + "Recent.ini";
    paths.LogPath = paths.DataFolder + "VLT.log";
    return paths;
}

}  // namespace vlt
