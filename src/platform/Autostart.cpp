#include "platform/Autostart.h"

#include <filesystem>
#include <system_error>

#include "platform/DataFolder.h"
#include "platform/DesktopEntry.h"

namespace vlt {

namespace {

constexpr const char* kEntryName = "orvelline-vaultwick.desktop";

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
           DesktopExecValue(programFile, "-tray") +
           "\n"
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
    if (!on) {
        std::error_code error;
        std::filesystem::remove(path, error);
        return !error;
    }
    return WriteDesktopFile(path, AutostartEntry(programFile));
}

}  // namespace vlt
