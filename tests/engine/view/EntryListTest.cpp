#include <gtest/gtest.h>

#include <vector>

#include "ScriptedDesktop.h"
#include "TraceCapture.h"
#include "engine/vault/Engine.h"
#include "engine/view/EntryList.h"

namespace vlt {
namespace {

constexpr std::int32_t kNow = 5000;

struct EntryListFlow : ::testing::Test {
    test::ScriptedDesktop desktop;
    Engine engine{desktop};

    void SetUp() override {
        engine.clock = [] { return kNow; };
        engine.vault.Groups.append(Group{10, 1, u"Web", 0});
        engine.vault.Groups.append(Group{20, 1, u"Mail", 0});
        add(1, 10, u"first", 0);
        add(2, 20, u"other group", 0);
        add(3, 10, u"expired", kNow);  // expiring exactly now counts as expired
        add(4, 10, u"later", kNow + 1);
    }
    void add(std::int32_t id, std::int32_t groupId, std::u16string comment, std::int32_t expires) {
        Entry entry;
        entry.ID = id;
        entry.GroupID = groupId;
        entry.Comment = std::move(comment);
        entry.Expires = expires != 0 ? 1 : 0;
        entry.ExpirationDate = expires;
        engine.vault.Entries.append(std::move(entry));
    }
    std::vector<std::int32_t> shownIds() const {
        std::vector<std::int32_t> ids;
        for (const EntryRow& row : desktop.entryRows.rows) {
            ids.push_back(row.id);
        }
        return ids;
    }
    using Ids = std::vector<std::int32_t>;
};

TEST_F(EntryListFlow, RefreshKeepsTheSelectedRowByIndexAndShowsItsComment) {
    desktop.selectedGroupItem = 1;
    desktop.selectedEntryRow = 1;
    test::TraceCapture trace(engine.log);
    EXPECT_EQ(Entry_RefreshList(engine), 1);
    EXPECT_EQ(shownIds(), (Ids{1, 3, 4}));
    EXPECT_EQ(desktop.selectedEntryRow, 1);
    EXPECT_TRUE(desktop.comment == u"expired");
    EXPECT_EQ(trace.lines(),
              "Entry_RefreshList() -> Refresing list\n"
              "Entry_RefreshList() -> Done\n");

    // Expired entries only: the remembered row is gone, so nothing is selected or shown.
    engine.ViewFilter = 1;
    EXPECT_EQ(Entry_RefreshList(engine), 1);
    EXPECT_EQ(shownIds(), (Ids{3}));
    EXPECT_EQ(desktop.selectedEntryRow, -1);
    EXPECT_TRUE(desktop.comment.empty());

    // The container's own item holds no entries.
    desktop.selectedGroupItem = 0;
    EXPECT_EQ(Entry_RefreshList(engine), 1);
    EXPECT_TRUE(shownIds().empty());
}

TEST_F(EntryListFlow, WithoutAGroupToShowTheListKeepsItsRows) {
    desktop.selectedGroupItem = 2;
    ASSERT_EQ(Entry_RefreshList(engine), 1);
    const int refreshes = desktop.listRefreshes;
    for (int item : {-1, 3}) {  // none, past the last group
        desktop.selectedGroupItem = item;
        EXPECT_EQ(Entry_RefreshList(engine), 0) << item;
    }
    desktop.selectedGroupItem = 1;
    engine.vault.Entries.clear();
    EXPECT_EQ(Entry_RefreshList(engine), 0);
    EXPECT_EQ(desktop.listRefreshes, refreshes);
    EXPECT_EQ(shownIds(), (Ids{2}));
}

TEST_F(EntryListFlow, OnlyTheCurrentRowsEntryIsStampedAndShown) {
    desktop.selectedGroupItem = 1;
    Entry_RefreshList(engine);
    auto stamped = [this] {
        Ids ids;
        for (const Entry& entry : engine.vault.Entries) {
            if (entry.AccessDate == kNow) {
                ids.push_back(entry.ID);
            }
        }
        return ids;
    };

    desktop.selectedEntryRow = 2;
    EXPECT_EQ(ShowSelectedEntry(engine), 1);
    EXPECT_EQ(stamped(), (Ids{4}));
    EXPECT_TRUE(desktop.comment == u"later");

    // A busy engine is not touched: no stamp, the comment stays.
    desktop.selectedEntryRow = 0;
    {
        Engine::BusyGuard busy(engine);
        EXPECT_EQ(ShowSelectedEntry(engine), 0);
    }
    EXPECT_EQ(stamped(), (Ids{4}));
    EXPECT_TRUE(desktop.comment == u"later");

    // No current row empties the comment view.
    desktop.selectedEntryRow = -1;
    EXPECT_EQ(ShowSelectedEntry(engine), 0);
    EXPECT_TRUE(desktop.comment.empty());

    // A row whose entry has gone since the list was built names no entry.
    desktop.comment = u"stale";
    engine.vault.Entries.select(0);
    engine.vault.Entries.deleteCurrent();
    desktop.selectedEntryRow = 0;
    EXPECT_EQ(EntryOfRow(engine, 0), nullptr);
    EXPECT_EQ(ShowSelectedEntry(engine), 0);
    EXPECT_TRUE(desktop.comment.empty());
    EXPECT_EQ(stamped(), (Ids{4}));
}

}  // namespace
}  // namespace vlt
