#pragma once
// One fixture vault every exporter test walks, and a way to run a writer over it.

#include <cstdint>
#include <string>
#include <vector>

#include "ExportWalk.h"

namespace vlt::test {

// Nested groups, an empty group, an entry filed under no group, and fields holding quotes,
// backslashes, commas, every kind of line break, non-ASCII text, blanks at the ends, ";", "[x]",
// placeholders, a control character and a lone surrogate; the dates 0, -1 and 2^31-1.
class FixtureVault final : public plugin::RecordSource {
  public:
    struct EntryText {
        std::u16string groupName, account, user, password, url, comment;
    };

    FixtureVault();

    std::int32_t countGroups() override;
    const VLT_Group* nextGroup() override;
    std::int32_t countEntries() override;
    const VLT_Entry* nextEntry() override;

    const std::vector<VLT_Group>& groups() const { return groups_; }
    const std::vector<VLT_Entry>& entries() const { return entries_; }

  private:
    std::vector<std::u16string> groupNames_;
    std::vector<EntryText> texts_;
    std::vector<VLT_Group> groups_;
    std::vector<VLT_Entry> entries_;
    std::size_t nextGroup_ = 0;
    std::size_t nextEntry_ = 0;
};

// The groups ticked in selected mode: the nested one, the empty one and the padded one.
plugin::ExportScope SelectedScope();

// The fixed clock of every test: 2009/07/14 08:05:09.
inline constexpr std::int32_t kNow = 1247558709;

struct WriterRun {
    std::string bytes;
    std::vector<int> progress;
};

WriterRun RunWriter(plugin::ExportWriter writer, const plugin::ExportScope& scope);

// UTF-8 of a stored text, as the writers convert it.
std::string Utf8(std::u16string_view text);

}  // namespace vlt::test
