// A reader's records through the host's callbacks into the vault, and the filing of the entries
// under no group that ends every import: each entry lands in a group that can be seen and told
// apart from the others.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "IniImport.h"
#include "ScriptedDesktop.h"
#include "engine/vault/Engine.h"
#include "host/HostCallbacks.h"
#include "host/OrphanEntries.h"

namespace vlt::import {
namespace {

class ImportIntoVault : public ::testing::Test {
  protected:
    // The INI text imported as a plugin run imports it.
    void importIni(const std::string& text) {
        {
            CallbackSession run(engine, nullptr);
            CallbackSink sink(VLT_Plugin_AddGroup, VLT_Plugin_AddEntry);
            ASSERT_EQ(ImportIni_ReadBytes(text, sink).Ok, 1);
        }
        FileOrphanEntries(engine);
    }

    vlt::test::ScriptedDesktop desktop;
    Engine engine{desktop};
};

// A section of the INI layout; values as written.
std::string section(const std::vector<std::pair<std::string, std::string>>& keys) {
    std::string text = "[";
    text += keys[0].second;
    text += "]\r\n";
    for (const auto& [key, value] : keys) {
        text += key;
        text += " = ";
        text += value;
        text += "\r\n";
    }
    return text;
}

std::string group(int id, const std::string& name) {
    return section({{"GroupID", std::to_string(id)}, {"EntryType", "0"}, {"Name", name}});
}

std::string entry(int id, int groupId, const std::string& groupName) {
    return section({{"ID", std::to_string(id)},
                    {"EntryType", "1"},
                    {"GroupID", std::to_string(groupId)},
                    {"GroupName", groupName}});
}

TEST_F(ImportIntoVault, AnEntryFollowsItsGroupIdAmongGroupsOfOneName) {
    importIni(group(5, "Web") + group(6, "Web") + entry(7, 6, "Web") + entry(8, 99, "Web") +
              entry(9, 5, "Web"));
    const Vault& v = engine.vault;
    ASSERT_EQ(v.Groups.count(), 2);
    ASSERT_EQ(v.Entries.count(), 3);
    EXPECT_EQ(v.Entries.at(0).GroupID, 6);  // the second "Web", as its ID says
    EXPECT_EQ(v.Entries.at(1).GroupID, 5);  // no group of its ID: the first of its name
    EXPECT_EQ(v.Entries.at(2).GroupID, 5);
}

TEST_F(ImportIntoVault, EntriesOfAnImportWithoutGroupsGetANamedGroup) {
    importIni(entry(7, 3, "") + entry(8, 4, "") + entry(9, 4, "Lost"));
    const Vault& v = engine.vault;
    ASSERT_EQ(v.Groups.count(), 2);
    const Group& made = v.Groups.at(0);
    EXPECT_EQ(made.Name, u"Imported entries");
    EXPECT_EQ(made.Depth, 1);
    EXPECT_EQ(engine.ids.ID_Exists(made.ID), 1);
    EXPECT_EQ(v.Groups.at(1).Name, u"Lost");
    ASSERT_EQ(v.Entries.count(), 3);
    for (int i : {0, 1}) {
        EXPECT_EQ(v.Entries.at(i).GroupID, made.ID);
        EXPECT_EQ(v.Entries.at(i).GroupName, u"Imported entries");
    }
    EXPECT_EQ(v.Entries.at(2).GroupID, v.Groups.at(1).ID);
}

}  // namespace
}  // namespace vlt::import
