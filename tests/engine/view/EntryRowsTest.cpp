#include <gtest/gtest.h>

#include <limits>

#include "ScriptedDesktop.h"
#include "engine/text/DateText.h"
#include "engine/vault/Engine.h"
#include "engine/view/EntryRows.h"

namespace vlt {
namespace {

constexpr std::int32_t kNow = 1796722130;  // 12/08/2026 09:28:50

Entry makeEntry(std::int32_t id, std::int32_t groupId) {
    Entry entry;
    entry.ID = id;
    entry.GroupID = groupId;
    entry.Account = u"Bank";
    entry.User = u"alice";
    entry.Password = u"s3cret";
    entry.URL = u"https://bank.example";
    entry.CreationDate = 0;
    entry.AccessDate = kNow;
    entry.ModificationDate = -1;
    return entry;
}

Attachment makeAttachment(std::int32_t id, std::int32_t entryId, std::u16string name) {
    Attachment attachment;
    attachment.ID = id;
    attachment.EntryID = entryId;
    attachment.FileName = std::move(name);
    return attachment;
}

TEST(AttachmentSummaryTest, NamesInListOrderIgnoringOtherEntries) {
    RecordList<Attachment> attachments;
    EXPECT_EQ(AttachmentSummary(attachments, 5), u"No attachments");
    attachments.append(makeAttachment(100, 5, u"a.txt"));
    attachments.append(makeAttachment(101, 6, u"other.bin"));
    attachments.append(makeAttachment(102, 5, u"b.txt"));
    EXPECT_EQ(AttachmentSummary(attachments, 5), u"a.txt, b.txt");
    EXPECT_EQ(AttachmentSummary(attachments, 6), u"other.bin");
    EXPECT_EQ(AttachmentSummary(attachments, 7), u"No attachments");
}

TEST(AttachmentSummaryTest, TrimsBlanksAndOneTrailingComma) {
    RecordList<Attachment> attachments;
    attachments.append(makeAttachment(100, 5, u"  lead.txt"));
    attachments.append(makeAttachment(101, 5, u"x,"));
    // "  lead.txt, x,, " trimmed is "lead.txt, x,,", and only one comma goes.
    EXPECT_EQ(AttachmentSummary(attachments, 5), u"lead.txt, x,");
    RecordList<Attachment> unnamed;
    unnamed.append(makeAttachment(100, 5, u""));
    // An attachment was found, so the summary is not "No attachments" even though it is empty.
    EXPECT_EQ(AttachmentSummary(unnamed, 5), u"");
}

// One group's list over a vault of its own, read cell by cell as the list shows it.
struct EntryListFixture : ::testing::Test {
    test::ScriptedDesktop desktop;
    Engine engine{desktop};
    Vault& vault = engine.vault;
    EntryRows list;

    void SetUp() override {
        engine.clock = [] { return kNow; };
    }

    // The list of a vault holding only this entry (with an attachment named `attachment`).
    const EntryRow& only(const Entry& entry, std::u16string attachment = {}) {
        vault.clear();
        vault.Entries.append(entry);
        if (!attachment.empty()) {
            vault.Attachments.append(makeAttachment(90, entry.ID, std::move(attachment)));
        }
        list = BuildEntryRows(engine, entry.GroupID);
        return list.rows.at(0);
    }
    std::u16string text(int column, const MaskFields& masks = {}) {
        return std::u16string(list.cellText(vault, 0, column, masks).view());
    }
};

TEST_F(EntryListFixture, UnmaskedRowShowsTheFieldsAndDates) {
    Entry entry = makeEntry(7, 1);
    entry.CustomForeground = 1;
    entry.ForegroundColor = 0x0000FF;
    entry.BackgroundColor = 0x00FF00;  // not custom: the list's own colour applies
    const EntryRow row = only(entry, u"a.txt");
    EXPECT_EQ(row.id, 7);
    EXPECT_EQ(text(kColAccounts), u"Bank");
    EXPECT_EQ(text(kColUserNames), u"alice");
    EXPECT_EQ(text(kColPasswords), u"s3cret");
    EXPECT_EQ(text(kColURLs), u"https://bank.example");
    EXPECT_EQ(text(kColAttachments), u"a.txt");
    EXPECT_EQ(text(kColCreationDates), u"01/01/1970 00:00:00");
    EXPECT_EQ(text(kColAccessDates), u"12/08/2026 09:28:50");
    EXPECT_EQ(text(kColModificationDates), u"12/31/1969 23:59:59");
    EXPECT_EQ(text(kColExpirationDates), u"Never");
    EXPECT_FALSE(row.expired);
    EXPECT_TRUE(row.customForeground);
    EXPECT_EQ(row.foreground, 0x0000FF);
    EXPECT_FALSE(row.customBackground);
}

TEST(EntryRows, DateTextCoversTheWholeSignedRange) {
    EXPECT_EQ(EntryDateText(std::numeric_limits<std::int32_t>::min()), u"12/13/1901 20:45:52");
    EXPECT_EQ(EntryDateText(std::numeric_limits<std::int32_t>::max()), u"01/19/2038 03:14:07");
    EXPECT_EQ(EntryDateText(-86400 * 365), u"01/01/1969 00:00:00");
    // The list's date text is the general formatter's date and time masks joined by a blank.
    for (std::int64_t date = std::numeric_limits<std::int32_t>::min();
         date <= std::numeric_limits<std::int32_t>::max(); date += 7777777) {
        const auto d = static_cast<std::int32_t>(date);
        ASSERT_EQ(EntryDateText(d),
                  FormatDate(u"%mm/%dd/%yyyy", d) + u" " + FormatDate(u"%hh:%ii:%ss", d))
            << d;
    }
}

TEST_F(EntryListFixture, EachMaskHidesOnlyItsColumnBehindFiveAsterisks) {
    only(makeEntry(1, 1));
    const MaskFields none;
    for (int column = kColAccounts; column <= kColURLs; ++column) {
        MaskFields masks;
        std::int32_t* flags[] = {&masks.Accounts, &masks.UserNames, &masks.Passwords, &masks.URLs};
        *flags[column] = 1;
        for (int other = 0; other < kColumnCount; ++other) {
            if (other == column) {
                EXPECT_EQ(text(other, masks), u"*****") << column;
            } else {
                EXPECT_EQ(text(other, masks), text(other, none)) << column << "/" << other;
            }
        }
    }
}

TEST_F(EntryListFixture, MaskLengthDoesNotDependOnTheValue) {
    MaskFields masks;
    masks.Passwords = 1;
    Entry entry = makeEntry(1, 1);
    for (std::u16string password :
         {std::u16string(), std::u16string(u"x"), std::u16string(40, u'p')}) {
        entry.Password = password;
        only(entry);
        EXPECT_EQ(text(kColPasswords, masks), u"*****");
    }
    masks.Passwords = 2;  // only 1 switches the mask on
    EXPECT_EQ(text(kColPasswords, masks), entry.Password.view());
}

TEST_F(EntryListFixture, ExpiryColumnAndExpiredState) {
    Entry entry = makeEntry(1, 1);
    entry.ExpirationDate = kNow;
    only(entry);
    EXPECT_EQ(text(kColExpirationDates), u"Never");
    EXPECT_FALSE(EntryExpired(entry, kNow + 1000));  // a past date alone does not expire it

    entry.Expires = 1;
    const EntryRow atNow = only(entry);
    EXPECT_EQ(text(kColExpirationDates), u"12/08/2026 09:28:50");
    EXPECT_TRUE(atNow.expired);
    engine.clock = [] { return kNow - 1; };
    EXPECT_FALSE(only(entry).expired);

    entry.Expires = 2;
    only(entry);
    EXPECT_EQ(text(kColExpirationDates), u"Never");
    EXPECT_FALSE(EntryExpired(entry, kNow));
}

TEST_F(EntryListFixture, CellsReadTheLiveEntryButOnlyWhereItStillStands) {
    only(makeEntry(1, 1));
    vault.Entries.at(0).Account = u"Renamed";  // an edit shows without copying the texts
    EXPECT_EQ(text(kColAccounts), u"Renamed");
    // A list left over from before a change never shows another entry's texts.
    vault.Entries.select(0);
    vault.Entries.insertBefore(makeEntry(2, 1)).Password = u"other secret";
    EXPECT_EQ(list.entry(vault, 0), nullptr);
    EXPECT_EQ(text(kColPasswords), u"");
    EXPECT_EQ(text(kColCreationDates), u"");
    EXPECT_EQ(list.cellText(vault, 1, kColAccounts, {}).view(), u"");  // no such row
}

TEST_F(EntryListFixture, RowsOfOneGroupInListOrderWithFreshSummaries) {
    vault.Entries.append(makeEntry(1, 10)).AttachmentNames = u"stale.txt";
    vault.Entries.append(makeEntry(2, 20));
    vault.Entries.append(makeEntry(3, 10)).AttachmentNames = u"";
    vault.Attachments.append(makeAttachment(50, 3, u"a.txt"));
    vault.Attachments.append(makeAttachment(51, 2, u"z.txt"));
    vault.Attachments.append(makeAttachment(52, 3, u"b.txt"));

    list = BuildEntryRows(engine, 10);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.rows[0].id, 1);
    EXPECT_EQ(list.cellText(vault, 0, kColAttachments, {}), u"No attachments");
    EXPECT_EQ(list.rows[1].id, 3);
    EXPECT_EQ(list.cellText(vault, 1, kColAttachments, {}), u"a.txt, b.txt");
    EXPECT_EQ(list.cellText(vault, 1, kColAttachments, {}),
              AttachmentSummary(vault.Attachments, 3));
    EXPECT_EQ(list.entry(vault, 1), &vault.Entries.at(2));
    EXPECT_EQ(BuildEntryRows(engine, 99).count(), 0);
}

TEST_F(EntryListFixture, ExpiredOnlyViewKeepsEachRowsOwnData) {
    for (std::int32_t id = 1; id <= 4; ++id) {
        Entry& entry = vault.Entries.append(makeEntry(id, 10));
        entry.Expires = id % 2;  // 1 and 3 expire
        entry.ExpirationDate = kNow + (id == 3 ? 0 : -10);
        entry.CustomForeground = 1;
        entry.ForegroundColor = id * 11;
        entry.CustomBackground = 1;
        entry.BackgroundColor = id * 13;
    }
    Entry& notYet = vault.Entries.append(makeEntry(5, 10));
    notYet.Expires = 1;
    notYet.ExpirationDate = kNow + 1;
    Entry& otherGroup = vault.Entries.append(makeEntry(6, 20));
    otherGroup.Expires = 1;

    EXPECT_EQ(BuildEntryRows(engine, 10).count(), 5);
    engine.ViewFilter = 1;
    const auto rows = BuildEntryRows(engine, 10).rows;
    ASSERT_EQ(rows.size(), 2u);
    for (const EntryRow& row : rows) {
        EXPECT_TRUE(row.expired);
        EXPECT_EQ(row.foreground, row.id * 11);
        EXPECT_EQ(row.background, row.id * 13);
    }
    EXPECT_EQ(rows[0].id, 1);
    EXPECT_EQ(rows[1].id, 3);

    engine.clock = [] { return kNow + 1; };  // the clock decides, not a cached "now"
    EXPECT_EQ(BuildEntryRows(engine, 10).count(), 3);
}

}  // namespace
}  // namespace vlt
