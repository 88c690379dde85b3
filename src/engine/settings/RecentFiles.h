#pragma once
// The containers opened most recently, newest first, for the File menu; kept on disk in
// "Recent.ini" (group "RecentFiles", keys "File0", "File1", ... in list order).

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/FileWriter.h"

namespace vlt {

class IniFile;

class RecentFiles {
  public:
    static constexpr std::size_t kMaxPaths = 10;

    explicit RecentFiles(std::string recentPath) : recentPath_(std::move(recentPath)) {}

    // Index 0 is the newest.
    std::vector<std::u16string> paths;

    // Start-up: every value of the file's group, in file order, whatever the key names. Not
    // limited or checked here; the next AddRecentFile tidies the list. A missing or unreadable
    // file gives an empty list.
    void read();

    // A container was opened. With `recentsSetting` 0 nothing changes. Otherwise the path goes
    // to the top, duplicates and empty paths are dropped and at most kMaxPaths stay. When the file
    // holds a list, that list (not the one in memory) is the one continued and rewritten; an empty
    // path then only tidies it. File errors are silent: an unreadable file changes nothing, an
    // uncreatable one leaves the change in memory only.
    void AddRecentFile(const std::u16string& path, std::int32_t recentsSetting,
                       const FileWriter& writer);

    // Empties the list and deletes the file (a failure is ignored).
    void clear();

    // Path i, or "" when there is none.
    std::u16string entry(int i) const;

    const std::string& recentPath() const { return recentPath_; }

  private:
    void addToList(const std::u16string& path, const std::vector<std::u16string>& older);
    void writeList(IniFile& ini) const;

    std::string recentPath_;
};

}  // namespace vlt
