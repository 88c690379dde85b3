#include "FileAssociationCheck.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "TempDir.h"
#include "platform/FileAssociation.h"

namespace vlt::test {
namespace {

namespace fs = std::filesystem;

fs::path xdgFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + underHome;
}

std::vector<std::string> split(const char* list, const char* fallback) {
    std::istringstream in(list != nullptr && list[0] != '\0' ? list : fallback);
    std::vector<std::string> parts;
    for (std::string part; std::getline(in, part, ':');) {
        parts.push_back(part);
    }
    return parts;
}

// The file a desktop runs for a program named in an Exec line.
fs::path resolved(const std::string& program) {
    if (program.find('/') != std::string::npos) {
        return program;
    }
    for (const std::string& folder : split(std::getenv("PATH"), "/usr/local/bin:/usr/bin:/bin")) {
        const fs::path candidate = fs::path(folder) / program;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

// The desktop file a desktop uses for this name: the first one in the data folders.
std::string applicationEntry(const std::string& name) {
    std::vector<fs::path> folders{xdgFolder("XDG_DATA_HOME", "/.local/share")};
    for (const std::string& folder :
         split(std::getenv("XDG_DATA_DIRS"), "/usr/local/share:/usr/share")) {
        folders.emplace_back(folder);
    }
    for (const fs::path& folder : folders) {
        if (fs::exists(folder / "applications" / name)) {
            return readFile((folder / "applications" / name).string());
        }
    }
    return {};
}

}  // namespace

std::string LineStarting(const std::string& text, const std::string& start) {
    const auto at = ("\n" + text).find("\n" + start);
    return at == std::string::npos ? "" : text.substr(at, text.find('\n', at) - at);
}

std::string ExecProgramOf(const std::string& exec) {
    std::string value;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] == '\\' && i + 1 < exec.size()) {
            const char next = exec[++i];
            value += next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
        } else {
            value += exec[i];
        }
    }
    std::string program;
    if (!value.starts_with('"')) {
        return value.substr(0, value.find(' '));
    }
    for (std::size_t i = 1; i < value.size() && value[i] != '"'; ++i) {
        if (value[i] == '\\' || (value[i] == '%' && value[i + 1] == '%')) {
            ++i;
        }
        program += value[i];
    }
    return program;
}

bool IsFileAssociationApplied(const std::string& programPath) {
    const fs::path data = xdgFolder("XDG_DATA_HOME", "/.local/share");
    const fs::path config = xdgFolder("XDG_CONFIG_HOME", "/.config");
    if (!fs::exists(data / "mime/packages/orvelline-vaultwick.xml")) {
        return false;
    }
    // The first default of the container type in the defaults group decides.
    const std::string key = std::string(kContainerMimeType) + "=";
    std::istringstream mimeApps(readFile((config / "mimeapps.list").string()));
    std::string opener;
    bool inDefaults = false;
    for (std::string line; opener.empty() && std::getline(mimeApps, line);) {
        if (line.starts_with("[")) {
            inDefaults = line == "[Default Applications]";
        } else if (inDefaults && line.starts_with(key) && line.ends_with(";")) {
            opener = line.substr(key.size(), line.size() - key.size() - 1);
        }
    }
    const std::string entry = applicationEntry(opener);
    if (opener.empty() || entry.empty() ||
        LineStarting(entry, "MimeType=").find(std::string(kContainerMimeType) + ";") ==
            std::string::npos) {
        return false;
    }
    const fs::path program = resolved(ExecProgramOf(LineStarting(entry, "Exec=").substr(5)));
    return !program.empty() && fs::weakly_canonical(program) == fs::weakly_canonical(programPath);
}

}  // namespace vlt::test
