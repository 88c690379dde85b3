#include <gtest/gtest.h>

#include "ScriptedDesktop.h"
#include "engine/text/Text.h"
#include "engine/vault/Engine.h"
#include "engine/view/EntryRows.h"
#include "engine/view/SortEntries.h"

namespace vlt {
namespace {

// A vault of the size the list must handle: 100,000 entries of one group (with another
// group's entries between them) and 1,000 attachments. Timing is the benchmark's business;
// this checks that the bulk paths give the same answers as the small ones.
TEST(EntryListScale, HundredThousandEntriesBuildAndSort) {
    test::ScriptedDesktop desktop;
    Engine engine{desktop};
    engine.clock = [] { return 1000; };
    Vault& vault = engine.vault;
    vault.Groups.append(Group{1, 1, u"Big", 0});
    vault.Groups.append(Group{2, 1, u"Other", 0});
    constexpr int kEntries = 100000;
    vault.Entries.reserve(kEntries + kEntries / 10);
    for (int i = 0; i < kEntries; ++i) {
        Entry entry;
        entry.ID = i + 1;
        entry.GroupID = 1;
        entry.Account = u"acct" + decimal((i * 7919) % 1000);  // many equal keys
        entry.Expires = i % 2;
        entry.ExpirationDate = i;
        vault.Entries.append(std::move(entry));
        if (i % 10 == 0) {
            Entry other;
            other.ID = -(i + 1);
            other.GroupID = 2;
            vault.Entries.append(std::move(other));
        }
    }
    for (int i = 0; i < 1000; ++i) {
        Attachment attachment;
        attachment.ID = 1000000 + i;
        attachment.EntryID = (i * 97) % kEntries + 1;
        attachment.FileName = u"f" + decimal(i);
        vault.Attachments.append(std::move(attachment));
    }

    const EntryRows list = BuildEntryRows(engine, 1);
    ASSERT_EQ(list.count(), kEntries);
    auto cell = [&](int row, int column) { return list.cellText(vault, row, column, {}); };
    for (int i : {0, 1, 96, 97, 50000, kEntries - 1}) {
        EXPECT_EQ(list.rows[i].id, i + 1);
        EXPECT_EQ(cell(i, kColAttachments), AttachmentSummary(vault.Attachments, i + 1));
        EXPECT_EQ(list.entry(vault, i)->ID, i + 1);
    }
    EXPECT_EQ(cell(97, kColAttachments), u"f1");
    EXPECT_EQ(cell(96, kColAttachments), u"No attachments");

    engine.ViewFilter = 1;  // odd indexes expire at i, expired by now = 1000 up to i = 1000
    EXPECT_EQ(BuildEntryRows(engine, 1).count(), 500);

    desktop.selectedGroupItem = 1;
    SortEntries(engine, kColAccounts, kSortDescending);
    EXPECT_EQ(desktop.listRefreshes, 1);
    const Entry* previous = nullptr;
    int big = 0;
    for (int at = 0; at < vault.Entries.count(); ++at) {
        const Entry& entry = vault.Entries.at(at);
        if (entry.GroupID != 1) {
            EXPECT_EQ(entry.ID, -big) << at;  // still after the same slot of "Big"
            continue;
        }
        if (previous != nullptr) {
            ASSERT_GE(previous->Account, entry.Account) << at;
            if (previous->Account == entry.Account) {
                ASSERT_LT(previous->ID, entry.ID) << at;
            }
        }
        previous = &entry;
        ++big;
    }
    EXPECT_EQ(big, kEntries);
}

}  // namespace
}  // namespace vlt
