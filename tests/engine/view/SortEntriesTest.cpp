#include <gtest/gtest.h>

#include <limits>

#include "ScriptedDesktop.h"
#include "TraceCapture.h"
#include "engine/text/Text.h"
#include "engine/vault/Engine.h"
#include "engine/view/SortEntries.h"

namespace vlt {
namespace {

struct SortFixture : ::testing::Test {
    test::ScriptedDesktop desktop;
    Engine engine{desktop};
    Vault& vault = engine.vault;
    test::TraceCapture trace{engine.log};

    void SetUp() override {
        vault.Groups.append(Group{10, 1, u"Web", 0});
        vault.Groups.append(Group{20, 1, u"Mail", 0});
        vault.Groups.append(Group{30, 1, u"Empty", 0});
        desktop.selectedGroupItem = 1;  // "Web"
    }

    Entry& add(std::int32_t id, std::int32_t groupId, std::u16string account) {
        Entry entry;
        entry.ID = id;
        entry.GroupID = groupId;
        entry.Account = std::move(account);
        entry.Comment = u"comment of " + decimal(id);
        return vault.Entries.append(std::move(entry));
    }

    std::vector<std::int32_t> ids() const {
        std::vector<std::int32_t> out;
        for (const Entry& entry : vault.Entries) {
            out.push_back(entry.ID);
        }
        return out;
    }

    using Ids = std::vector<std::int32_t>;
};

TEST_F(SortFixture, NoGroupOrRootItemSortsNothing) {
    add(1, 10, u"b");
    add(2, 10, u"a");
    for (int item : {-1, 0, 4}) {  // none, the root item, past the last group
        desktop.selectedGroupItem = item;
        EXPECT_EQ(SortEntries(engine, 0, kSortAscending), 0);
    }
    EXPECT_EQ(ids(), (Ids{1, 2}));
    EXPECT_EQ(desktop.listRefreshes, 0);
    EXPECT_TRUE(desktop.messages.empty());
    const std::string refused =
        "SortEntries() -> Sorting entries\nSortEntries() -> State <= 0, returning\n";
    EXPECT_EQ(trace.lines(), refused + refused + refused);
}

TEST_F(SortFixture, GroupWithoutEntriesIsNotRefreshed) {
    add(1, 10, u"b");
    desktop.selectedGroupItem = 3;
    SortEntries(engine, 0, kSortAscending);
    EXPECT_EQ(desktop.listRefreshes, 0);
    EXPECT_EQ(trace.lines(), "SortEntries() -> Sorting entries\nSortEntries() -> Done\n");
}

TEST_F(SortFixture, SortedGroupFillsItsOwnPositionsOnly) {
    add(1, 10, u"c");
    add(2, 20, u"z");
    add(3, 10, u"a");
    add(4, 20, u"y");
    add(5, 10, u"b");
    Entry* before = &vault.Entries.at(2);
    SortEntries(engine, 0, kSortAscending);
    EXPECT_EQ(ids(), (Ids{3, 2, 5, 4, 1}));
    // Whole records travel: the comment goes with its entry, the record with its address.
    EXPECT_EQ(vault.Entries.at(0).Comment, u"comment of 3");
    EXPECT_EQ(&vault.Entries.at(0), before);
    EXPECT_EQ(desktop.listRefreshes, 1);
    EXPECT_EQ(trace.lines(),
              "SortEntries() -> Sorting entries\nEntry_RefreshList() -> Refresing list\n"
              "Entry_RefreshList() -> Done\nSortEntries() -> Done\n");

    SortEntries(engine, 0, kSortDescending);
    EXPECT_EQ(ids(), (Ids{1, 2, 5, 4, 3}));
}

TEST_F(SortFixture, EachTextColumnSortsByItsField) {
    Entry& first = add(1, 10, u"a");
    Entry& second = add(2, 10, u"b");
    first.User = first.URL = second.AttachmentNames = u"2";
    second.User = second.URL = first.AttachmentNames = u"1";
    second.Password = u"2";
    first.Password = u"1";
    SortEntries(engine, kColUserNames, kSortAscending);
    EXPECT_EQ(ids(), (Ids{2, 1}));
    SortEntries(engine, kColPasswords, kSortAscending);
    EXPECT_EQ(ids(), (Ids{1, 2}));
    SortEntries(engine, kColURLs, kSortAscending);
    EXPECT_EQ(ids(), (Ids{2, 1}));
    // The stored summary decides, as for every other stored field.
    SortEntries(engine, kColAttachments, kSortAscending);
    EXPECT_EQ(ids(), (Ids{1, 2}));
}

TEST_F(SortFixture, DatesCompareAsSignedNumbers) {
    const std::int32_t dates[] = {5, std::numeric_limits<std::int32_t>::min(), -5, 0, 5};
    for (std::int32_t i = 0; i < 5; ++i) {
        Entry& entry = add(i + 1, 10, u"");
        entry.CreationDate = entry.AccessDate = entry.ModificationDate = dates[i];
    }
    for (int column : {kColCreationDates, kColAccessDates, kColModificationDates}) {
        SortEntries(engine, column, kSortAscending);
        EXPECT_EQ(ids(), (Ids{2, 3, 4, 1, 5})) << column;
        SortEntries(engine, column, kSortDescending);
        EXPECT_EQ(ids(), (Ids{1, 5, 4, 3, 2})) << column;
    }
}

TEST_F(SortFixture, ExpiryDatesOfNonExpiringEntriesCompareAsStored) {
    Entry& never = add(1, 10, u"");
    never.Expires = 0;
    never.ExpirationDate = 300;
    Entry& soon = add(2, 10, u"");
    soon.Expires = 1;
    soon.ExpirationDate = 200;
    add(3, 10, u"").ExpirationDate = 100;
    SortEntries(engine, kColExpirationDates, kSortAscending);
    EXPECT_EQ(ids(), (Ids{3, 2, 1}));
}

TEST_F(SortFixture, UnknownColumnKeepsTheOrderButStillRefreshes) {
    add(1, 10, u"b");
    add(2, 10, u"a");
    SortEntries(engine, 9, kSortAscending);
    SortEntries(engine, -1, kSortDescending);
    EXPECT_EQ(ids(), (Ids{1, 2}));
    EXPECT_EQ(desktop.listRefreshes, 2);
}

TEST_F(SortFixture, NextDirectionIsFirstAscendingThenAlternatingPerColumn) {
    EXPECT_EQ(NextSortDirection(engine, 0), kSortAscending);
    EXPECT_EQ(engine.SortDirections[0], 1);
    EXPECT_EQ(NextSortDirection(engine, 0), kSortDescending);
    EXPECT_EQ(engine.SortDirections[0], 0);
    EXPECT_EQ(NextSortDirection(engine, 8), kSortAscending);
    EXPECT_EQ(NextSortDirection(engine, 0), kSortAscending);
    EXPECT_EQ(NextSortDirection(engine, 8), kSortDescending);

    const auto flags = engine.SortDirections;
    EXPECT_EQ(NextSortDirection(engine, 9), kSortAscending);
    EXPECT_EQ(NextSortDirection(engine, -1), kSortAscending);
    EXPECT_EQ(engine.SortDirections, flags);
}

}  // namespace
}  // namespace vlt
