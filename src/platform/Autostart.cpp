#include "platform/Autostart.h"

#include <filesystem>
#include <system_error>

#include "engine/container/AtomicFile.h"
#include "platform/DataFolder.h"

namespace vlt {

namespace {

constexpr const char* kEntryName = "orvelline-vaultwick.desktop";

// One argument of an Exec line: in double quotes, with '"', '`', '$' and '\' escaped by a
// backslash; then every '\' doubled again, because the whole value is a desktop-entry string.
std::string execArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (char c : quoted) {
        value += c;
        if (c == '\\') {
            value += '\\';
        }
    }
    return value;
}

// Line breaks would end the value early; a desktop-entry string escapes them.
std::string entryString(const std::string& text) {
    std::string value;
    for (char c : text) {
        if (c == '\n') {
            value += "\\n";
        } else if (c == '\r') {
            value += "\\r";
        } else {
            value += c;
        }
    }
    return value;
}

}  // namespace

std::string AutostartEntryPath(const std::function<const char*(const char*)>& getenv) {
    const std::string home = XdgConfigHome(getenv);
    if (home.empty()) {
        return {};
    }
    return (home == "/" ? home : home + "/") + "autostart/" + kEntryName;
}

std::string AutostartEntry(const std::string& programFile) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Orvelline Vaultwick\n"
           "Comment=Password manager\n"
           "Exec=" +
           entryString(execArgument(programFile)) +
           " -tray\n"
           "Icon=orvelline-vaultwick\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool SetAutostart(bool on, const std::string& programFile,
                  const std::function<const char*(const char*)>& getenv) {
    const std::string path = AutostartEntryPath(getenv);
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    if (!on) {
        std::filesystem::remove(path, error);
        return !error;
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    if (error) {
        return false;
    }
    return writeFileAtomically(path, AutostartEntry(programFile), FileWriter{}, 0644);
}

}  // namespace vlt
