#include "engine/vault/MassModify.h"

#include <gtest/gtest.h>

#include <vector>

#include "SampleVault.h"
#include "ScriptedDesktop.h"
#include "engine/vault/Engine.h"
#include "engine/view/EntryList.h"

namespace vlt {
namespace {

constexpr std::int32_t kNow = 1'000'000;
constexpr std::int32_t kDate = 2'000'000;

Vault copyOf(const Vault& vault) {
    Vault copy;
    for (const Group& g : vault.Groups) {
        copy.Groups.append(g);
    }
    for (const Entry& e : vault.Entries) {
        copy.Entries.append(e);
    }
    for (const Attachment& a : vault.Attachments) {
        copy.Attachments.append(a);
    }
    return copy;
}

struct MassModifyFlow : ::testing::Test {
    test::ScriptedDesktop desktop;
    Engine engine{desktop};
    using Ids = std::vector<std::int32_t>;

    void SetUp() override {
        engine.clock = [] { return kNow; };
        engine.vault.Groups.append(Group{10, 1, u"Web", 0});
        engine.vault.Groups.append(Group{20, 2, u"Mail", 0});
        engine.vault.Groups.append(Group{30, 0, u"Empty", 0});
        // Entries 1..5 in groups 10, 20, 10, 20, 10; each with its own dates and colour.
        const std::int32_t groups[] = {10, 20, 10, 20, 10};
        for (std::int32_t id = 1; id <= 5; ++id) {
            Entry entry;
            entry.ID = id;
            entry.GroupID = groups[id - 1];
            entry.GroupName = entry.GroupID == 10 ? u"Web" : u"Mail";
            entry.Account = u"account " + std::u16string(1, static_cast<char16_t>(u'0' + id));
            entry.Password = SecureText(u"secret");
            entry.CreationDate = 100 * id;
            entry.ModificationDate = 100 * id + 1;
            entry.ExpirationDate = 100 * id + 2;
            entry.Expires = id % 2;
            entry.CustomForeground = 1;
            entry.ForegroundColor = 0x010203 * id;
            engine.vault.Entries.append(std::move(entry));
        }
        test::AddAttachment(engine.vault, 77, 3, 20);
    }

    // Shows group item `item` and selects these rows of it.
    void select(int item, std::vector<int> rows) {
        desktop.selectedGroupItem = item;
        desktop.selectedEntryRow = rows.empty() ? -1 : rows.front();
        ASSERT_EQ(Entry_RefreshList(engine), 1);
        desktop.selectedEntryRows = std::move(rows);
    }

    std::optional<MassModifyChoice> move(std::int32_t group) {
        MassModifyChoice choice;
        choice.moveToGroup = true;
        choice.groupId = group;
        return choice;
    }

    Ids order() const {
        Ids ids;
        for (const Entry& e : engine.vault.Entries) {
            ids.push_back(e.ID);
        }
        return ids;
    }
};

TEST_F(MassModifyFlow, MovedEntriesFollowTheTargetGroupsLastEntryInRowOrderKeepingTheirFields) {
    Vault expected = copyOf(engine.vault);
    select(1, {2, 0});  // entries 5 and 1 of group 10, picked bottom row first
    auto choice = move(20);
    choice->changeExpiry = true;
    choice->expirationDate = kDate;
    choice->expires = true;
    desktop.massModifyAnswers = {choice};
    EXPECT_EQ(OpenMassModifyWindow(engine), 1);

    // Taken in row order (1, then 5), put behind entry 4, the last entry of group 20; every
    // other field of every entry, and the attachment of entry 3, stay as they were.
    for (int at : {0, 4}) {
        Entry& e = expected.Entries.at(at);
        e.GroupID = 20;
        e.GroupName = u"Mail";
        e.ExpirationDate = kDate;
        e.Expires = 1;
    }
    expected.Entries.move(0, 3);  // 2 3 4 1 5
    test::ExpectSameVault(expected, engine.vault);
    EXPECT_EQ(order(), (Ids{2, 3, 4, 1, 5}));
    // The target group is shown, the moved entries last.
    EXPECT_EQ(desktop.selectedGroupItem, 2);
    ASSERT_EQ(desktop.entryRows.count(), 4);
    EXPECT_EQ(desktop.entryRows.rows[2].id, 1);
    EXPECT_EQ(desktop.entryRows.rows[3].id, 5);
    EXPECT_EQ(desktop.massModifyNow, kNow);
    EXPECT_TRUE(desktop.unexpected.empty());
}

TEST_F(MassModifyFlow, MovesWithinTheSameGroupAndIntoAnEmptyGroup) {
    select(1, {0, 1});  // entries 1 and 3 of group 10, moved into group 10 itself
    desktop.massModifyAnswers = {move(10)};
    OpenMassModifyWindow(engine);
    EXPECT_EQ(order(), (Ids{2, 4, 5, 1, 3}));

    select(2, {1, 0});  // entries 4 and 2; group 30 has no entries: they go to the end
    desktop.massModifyAnswers = {move(30)};
    OpenMassModifyWindow(engine);
    EXPECT_EQ(order(), (Ids{5, 1, 3, 2, 4}));
    EXPECT_EQ(engine.vault.Entries.at(4).GroupName, u"Empty");
    EXPECT_EQ(desktop.selectedGroupItem, 3);
}

TEST_F(MassModifyFlow, ExpiryOnlyAndNothingChosen) {
    select(1, {0, 2});
    MassModifyChoice choice;
    choice.groupId = 20;
    choice.changeExpiry = true;
    choice.expirationDate = kDate;
    choice.expires = false;  // the entries stop expiring and keep the new date
    desktop.massModifyAnswers = {choice};
    OpenMassModifyWindow(engine);
    EXPECT_EQ(order(), (Ids{1, 2, 3, 4, 5}));
    for (std::int32_t id : {1, 5}) {
        EXPECT_EQ(engine.vault.Entries.at(id - 1).ExpirationDate, kDate);
        EXPECT_EQ(engine.vault.Entries.at(id - 1).Expires, 0);
    }
    EXPECT_EQ(engine.vault.Entries.at(2).ExpirationDate, 302);
    EXPECT_EQ(desktop.selectedGroupItem, 2);  // the group box's group, though nothing moved

    const Vault before = copyOf(engine.vault);
    select(1, {0, 1});
    desktop.massModifyAnswers = {MassModifyChoice{.groupId = 10}, std::nullopt};
    OpenMassModifyWindow(engine);
    OpenMassModifyWindow(engine);  // cancelled
    test::ExpectSameVault(before, engine.vault);
    EXPECT_EQ(desktop.selectedGroupItem, 1);
}

TEST_F(MassModifyFlow, RefusedWithoutEntriesOrWithFewerThanTwoRowsAndListsGroupsIndented) {
    select(1, {0});
    EXPECT_EQ(OpenMassModifyWindow(engine), 0);
    engine.vault.Entries.clear();
    EXPECT_EQ(OpenMassModifyWindow(engine), 0);
    EXPECT_EQ(desktop.messageTexts(),
              (std::vector<std::u16string>{
                  u"Please select 2 or more items first.",
                  u"You haven't added any entries to the database. There is no data to be moved.",
              }));
    EXPECT_TRUE(desktop.unexpected.empty());  // no window was opened

    const std::vector<GroupChoice> items = MassModifyGroups(engine.vault);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, u"   Web");
    EXPECT_EQ(items[1].text, u"      Mail");
    EXPECT_EQ(items[2].text, u"   Empty");
    EXPECT_EQ(items[2].id, 30);
}

}  // namespace
}  // namespace vlt
