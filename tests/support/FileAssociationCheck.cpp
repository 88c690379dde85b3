#include "FileAssociationCheck.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "TempDir.h"
#include "platform/DesktopEntry.h"
#include "platform/FileAssociation.h"
#include "platform/XdgFiles.h"

namespace vlt::test {
namespace {

std::filesystem::path xdgFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + underHome;
}

}  // namespace

bool IsFileAssociationApplied(const std::string& programPath) {
    const std::filesystem::path data = xdgFolder("XDG_DATA_HOME", "/.local/share");
    const std::filesystem::path config = xdgFolder("XDG_CONFIG_HOME", "/.config");
    if (!std::filesystem::exists(data / "mime/packages/orvelline-vaultwick.xml")) {
        return false;
    }
    std::istringstream shipped{std::string(xdg::kDesktopEntry)};
    std::string expected;
    for (std::string line; std::getline(shipped, line);) {
        expected +=
            line.starts_with("Exec=") ? "Exec=" + DesktopExecValue(programPath, "%f") : line;
        expected += '\n';
    }
    if (readFile((data / "applications" / kDesktopFileName).string()) != expected) {
        return false;
    }
    // The first default of the container type in the defaults group decides.
    const std::string key = std::string(kContainerMimeType) + "=";
    std::istringstream mimeApps(readFile((config / "mimeapps.list").string()));
    bool inDefaults = false;
    for (std::string line; std::getline(mimeApps, line);) {
        if (line.starts_with("[")) {
            inDefaults = line == "[Default Applications]";
        } else if (inDefaults && line.starts_with(key)) {
            return line == key + kDesktopFileName + ";";
        }
    }
    return false;
}

}  // namespace vlt::test
