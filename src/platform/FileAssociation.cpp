#include "platform/FileAssociation.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "common/RegularFile.h"
#include "platform/DesktopEntry.h"
#include "platform/InstalledEntry.h"
#include "platform/XdgFiles.h"

extern char** environ;

namespace vlt {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMimePackageName = "orvelline-vaultwick.xml";
constexpr const char* kIconName = "orvelline-vaultwick.png";
constexpr const char* kDefaultsGroup = "[Default Applications]";

struct XdgPlaces {
    fs::path dataHome;
    fs::path userEntry;      // this program's own entry, where no installed one starts it
    fs::path shadowingCopy;  // where earlier versions wrote it, under the installed entry's name
    fs::path mimePackage;
    fs::path icon;
    fs::path mimeFolder;
    fs::path mimeApps;
};

std::string baseFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + underHome;
}

XdgPlaces places() {
    const fs::path data = baseFolder("XDG_DATA_HOME", "/.local/share");
    const fs::path config = baseFolder("XDG_CONFIG_HOME", "/.config");
    return {data,
            data / "applications" / kUserDesktopFileName,
            data / "applications" / kDesktopFileName,
            data / "mime" / "packages" / kMimePackageName,
            data / "icons" / "hicolor" / "16x16" / "apps" / kIconName,
            data / "mime",
            config / "mimeapps.list"};
}

// The shipped desktop entry with its Exec line naming `programPath` by its quoted absolute path;
// with `tryExec`, a TryExec line makes desktops drop the entry once the program is removed or
// moved, rather than show a dead one.
std::string desktopEntryFor(const std::string& programPath, bool tryExec) {
    std::istringstream in{std::string(xdg::kDesktopEntry)};
    std::string out;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("Exec=")) {
            line = "Exec=" + DesktopExecValue(programPath, "%f");
            if (tryExec) {
                line += "\nTryExec=" + DesktopStringValue(programPath);
            }
        }
        out += line + '\n';
    }
    return out;
}

// Exactly what earlier versions wrote for the user under the installed entry's name: the shipped
// entry, Exec naming some program by its quoted absolute path, no TryExec. An entry installed
// with the program (Exec=vlt %f) or written by the user is something else.
bool isShadowingCopy(const std::string& text) {
    const std::string program = DesktopExecProgram(DesktopEntryValue(text, "Exec"));
    return program.starts_with('/') && text == desktopEntryFor(program, false);
}

// What the file holds; "" when it is missing or no regular file (a FIFO would block the read).
std::string readText(const fs::path& path) {
    std::string text;
    ReadRegularFile(path.string(), text);
    return text;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool isOurDefault(const std::string& line) {
    return line.starts_with(std::string(kContainerMimeType) + "=");
}

// mimeapps.list with the container type's default line removed, and added again naming `opener`
// unless that is empty.
std::string editedMimeApps(const std::string& text, const std::string& opener) {
    const std::string ours = std::string(kContainerMimeType) + "=" + opener + ";";
    std::string out;
    bool inDefaults = false;
    bool placed = opener.empty();
    for (const std::string& line : linesOf(text)) {
        if (line.starts_with("[")) {
            if (inDefaults && !placed) {
                out += ours + "\n";
                placed = true;
            }
            inDefaults = line == kDefaultsGroup;
        }
        if (inDefaults && isOurDefault(line)) {
            continue;
        }
        out += line + "\n";
    }
    if (!placed) {
        if (!inDefaults) {
            out += std::string(kDefaultsGroup) + "\n";
        }
        out += ours + "\n";
    }
    return out;
}

bool removeFile(const fs::path& path) {
    std::error_code error;
    fs::remove(path, error);
    return !error;
}

// Rebuilds the user's MIME database; without the tool the glob still lies in its package.
void updateMimeDatabase(const fs::path& mimeFolder) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string folder = mimeFolder.string();
    char tool[] = "update-mime-database";
    char* argv[] = {tool, folder.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, tool, &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

}  // namespace

bool ApplyFileAssociation(bool on, const std::string& programPath) {
    const XdgPlaces at = places();
    bool done = true;
    // The entry that starts this program stays, whoever wrote it: it is how the desktop starts it.
    if (isShadowingCopy(readText(at.shadowingCopy)) &&
        !EntryStartsProgram(at.dataHome, kDesktopFileName, programPath)) {
        done = removeFile(at.shadowingCopy);
    }
    // An installed entry that starts this program opens the files itself; a copy of our own
    // would only hide it.
    const bool installed = on && EntryStartsProgram(at.dataHome, kDesktopFileName, programPath);
    const std::string opener = !on ? "" : installed ? kDesktopFileName : kUserDesktopFileName;
    const std::string mimeApps = editedMimeApps(readText(at.mimeApps), opener);
    if (on) {
        done = WriteDesktopFile(at.mimePackage, xdg::kMimePackage) && done;
        if (installed) {
            done = removeFile(at.icon) && removeFile(at.userEntry) && done;
        } else {
            done = WriteDesktopFile(at.icon, xdg::kProgramIcon) &&
                   WriteDesktopFile(at.userEntry, desktopEntryFor(programPath, true)) && done;
        }
        done = WriteDesktopFile(at.mimeApps, mimeApps) && done;
    } else {
        for (const fs::path& file : {at.mimePackage, at.icon, at.userEntry}) {
            done = removeFile(file) && done;
        }
        if (fs::exists(at.mimeApps)) {
            done = WriteDesktopFile(at.mimeApps, mimeApps) && done;
        }
    }
    updateMimeDatabase(at.mimeFolder);
    return done;
}

}  // namespace vlt
