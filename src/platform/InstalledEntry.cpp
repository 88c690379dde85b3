#include "platform/InstalledEntry.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "common/RegularFile.h"
#include "platform/DesktopEntry.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

// The absolute folders of a colon-separated list such as $PATH; `fallback` when it is unset or
// empty. Relative folders are ignored, as the XDG rules ask.
std::vector<fs::path> folderList(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    const std::string list = value != nullptr && value[0] != '\0' ? value : fallback;
    std::vector<fs::path> folders;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        if (list[start] == '/') {
            folders.emplace_back(list.substr(start, end - start));
        }
        start = end + 1;
    }
    return folders;
}

// The file a desktop runs for an Exec line's program: a name without "/" is looked up on $PATH.
fs::path programFile(const std::string& program) {
    if (program.find('/') != std::string::npos) {
        return program;
    }
    if (program.empty()) {
        return {};
    }
    for (const fs::path& folder : folderList("PATH", "/usr/local/bin:/usr/bin:/bin")) {
        const fs::path candidate = folder / program;
        std::error_code error;
        if (fs::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code errorA;
    std::error_code errorB;
    const fs::path realA = fs::canonical(a, errorA);
    const fs::path realB = fs::canonical(b, errorB);
    return !errorA && !errorB && realA == realB;
}

}  // namespace

bool EntryStartsProgram(const std::string& dataHome, const std::string& fileName,
                        const std::string& programPath) {
    std::vector<fs::path> folders{dataHome};
    for (const fs::path& folder : folderList("XDG_DATA_DIRS", "/usr/local/share:/usr/share")) {
        folders.push_back(folder);
    }
    for (const fs::path& folder : folders) {
        const fs::path entry = folder / "applications" / fileName;
        std::error_code error;
        if (!fs::exists(entry, error)) {
            continue;
        }
        std::string text;
        ReadRegularFile(entry.string(), text, 1 << 20);
        const fs::path program = programFile(DesktopExecProgram(DesktopEntryValue(text, "Exec")));
        return !program.empty() && sameFile(program, programPath);
    }
    return false;
}

}  // namespace vlt
