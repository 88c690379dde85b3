#include "engine/settings/RecentFiles.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "engine/settings/IniFile.h"
#include "engine/text/Text.h"

namespace vlt {

namespace {

constexpr std::u16string_view kGroup = u"RecentFiles";

}  // namespace

void RecentFiles::read() {
    paths.clear();
    IniFile ini;
    if (ini.load(recentPath_)) {
        for (auto& [key, value] : ini.entries(kGroup)) {
            paths.push_back(std::move(value));
        }
    }
}

void RecentFiles::AddRecentFile(const std::u16string& path, std::int32_t recentsSetting,
                                const FileWriter& writer) {
    if (recentsSetting == 0) {
        return;
    }
    std::error_code error;
    auto size = std::filesystem::file_size(recentPath_, error);
    IniFile ini;
    if (!error && size > 0) {
        if (!ini.load(recentPath_)) {
            return;
        }
        std::vector<std::u16string> stored;
        for (auto& [key, value] : ini.entries(kGroup)) {
            stored.push_back(std::move(value));
        }
        addToList(path, stored);
    } else {
        if (path.empty()) {
            return;
        }
        // No list on disk to continue: the one in memory is continued, newest first like any
        // other, and the new file holds all of it.
        addToList(path, paths);
    }
    writeList(ini);
    ini.save(recentPath_, writer);
}

void RecentFiles::addToList(const std::u16string& path, const std::vector<std::u16string>& older) {
    std::vector<std::u16string> list;
    if (!path.empty()) {
        list.push_back(path);
    }
    // A hand-edited file may name a path twice; the menu shows it once.
    for (const std::u16string& old : older) {
        if (!old.empty() && list.size() < kMaxPaths &&
            std::find(list.begin(), list.end(), old) == list.end()) {
            list.push_back(old);
        }
    }
    paths = std::move(list);
}

void RecentFiles::writeList(IniFile& ini) const {
    ini.removeGroup(kGroup);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        ini.writeString(kGroup, u"File" + decimal(static_cast<std::int64_t>(i)), paths[i]);
    }
}

void RecentFiles::clear() {
    paths.clear();
    ::unlink(recentPath_.c_str());
}

std::u16string RecentFiles::entry(int i) const {
    if (i < 0 || static_cast<std::size_t>(i) >= paths.size()) {
        return {};
    }
    return paths[static_cast<std::size_t>(i)];
}

}  // namespace vlt
