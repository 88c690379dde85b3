// The INI reader gives back every group and entry field of the exporter's layout, and reads
// hand-edited files without letting one record's lines reach another.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "ImportTestSupport.h"
#include "IniImport.h"
#include "engine/text/Text.h"

namespace vlt::import {
namespace {

using test::RecordingSink;

// The exporter's value rule: as stored, unless it holds CR or LF or starts with "\*".
std::u16string written(std::u16string_view value) {
    if (value.find_first_of(u"\r\n") == std::u16string_view::npos && !value.starts_with(u"\\*")) {
        return std::u16string(value);
    }
    std::u16string out = u"\\*";
    for (char16_t c : value) {
        out += c == u'\\'   ? u"\\\\"
               : c == u'\r' ? u"\\r"
               : c == u'\n' ? u"\\n"
                            : std::u16string(1, c);
    }
    return out;
}

std::u16string line(std::u16string_view key, std::u16string_view value) {
    return std::u16string(key) + u" = " + written(value) + u"\r\n";
}
std::u16string line(std::u16string_view key, std::int32_t value) {
    return line(key, decimal(value));
}

std::u16string groupSection(const GroupRecord& g) {
    return u"[" + decimal(g.GroupID) + u"]\r\n" + line(u"EntryType", 0) +
           line(u"GroupID", g.GroupID) + line(u"Depth", g.Depth) + line(u"Name", g.Name) +
           line(u"Icon", g.Icon) + u"\r\n";
}

std::u16string entrySection(const EntryRecord& e) {
    return u"[" + decimal(e.ID) + u"]\r\n" + line(u"EntryType", 1) + line(u"ID", e.ID) +
           line(u"GroupID", e.GroupID) + line(u"GroupName", e.GroupName) +
           line(u"Account", e.Account) + line(u"User", e.User) + line(u"Password", e.Password) +
           line(u"URL", e.URL) + line(u"Comment", e.Comment) + line(u"Expires", e.Expires) +
           line(u"CustomForeground", e.CustomForeground) +
           line(u"ForegroundColor", e.ForegroundColor) +
           line(u"CustomBackground", e.CustomBackground) +
           line(u"BackgroundColor", e.BackgroundColor) + line(u"CreationDate", e.CreationDate) +
           line(u"AccessDate", e.AccessDate) + line(u"ModificationDate", e.ModificationDate) +
           line(u"ExpirationDate", e.ExpirationDate) + u"\r\n";
}

EntryRecord entry(std::int32_t id, std::int32_t group, std::u16string comment, std::int32_t base) {
    EntryRecord e;
    e.ID = id;
    e.GroupID = group;
    e.GroupName = u"[Mail] = x";
    e.Account = u"  blanks at both ends  ";
    e.User = u"\\*starts like an escape";
    e.Password = u"p\\r\\n=;[x]\u00e9\U0001F511";
    e.URL = u"https://example.com/?a=1&b=2";
    e.Comment = std::move(comment);
    e.Expires = 1;
    e.CustomForeground = 1;
    e.ForegroundColor = 255;
    e.CustomBackground = 0;
    e.BackgroundColor = 0x00FFEEDD;
    e.CreationDate = base;
    e.AccessDate = base + 1;
    e.ModificationDate = -5;
    e.ExpirationDate = std::numeric_limits<std::int32_t>::max();
    return e;
}

void expectSame(const EntryRecord& a, const EntryRecord& b) {
    EXPECT_EQ(a.ID, b.ID);
    EXPECT_EQ(a.GroupID, b.GroupID);
    EXPECT_EQ(a.GroupName, b.GroupName);
    EXPECT_EQ(a.Account, b.Account);
    EXPECT_EQ(a.User, b.User);
    EXPECT_EQ(a.Password, b.Password);
    EXPECT_EQ(a.URL, b.URL);
    EXPECT_EQ(a.Comment, b.Comment);
    EXPECT_EQ(a.Expires, b.Expires);
    EXPECT_EQ(a.CustomForeground, b.CustomForeground);
    EXPECT_EQ(a.ForegroundColor, b.ForegroundColor);
    EXPECT_EQ(a.CustomBackground, b.CustomBackground);
    EXPECT_EQ(a.BackgroundColor, b.BackgroundColor);
    EXPECT_EQ(a.CreationDate, b.CreationDate);
    EXPECT_EQ(a.AccessDate, b.AccessDate);
    EXPECT_EQ(a.ModificationDate, b.ModificationDate);
    EXPECT_EQ(a.ExpirationDate, b.ExpirationDate);
}

TEST(IniImport, EveryFieldOfTheExportersLayoutComesBack) {
    const std::vector<GroupRecord> groups = {
        {u"Mail", 5, 10, 1}, {u" inner \\ group ", 99, 11, 2}, {u"", 0, -7, 3}};
    const std::vector<EntryRecord> entries = {
        entry(20, 10, u"first line\r\n[21]\r\nEntryType = 0\r\n; not a comment", 1000),
        entry(21, 11, u"ends in a break\r\n", std::numeric_limits<std::int32_t>::min()),
        entry(-3, -7, u"lone\rCR and lone\nLF \\n stays \\*", 0)};
    std::u16string text =
        u";-------------------------------------------------------\r\n;VLT INI Exporter\r\n"
        u";Total groups/entries: 3/3\r\n\r\n;Group list\r\n";
    for (const GroupRecord& g : groups) {
        text += groupSection(g);
    }
    text += u";Entry list\r\n";
    for (const EntryRecord& e : entries) {
        text += entrySection(e);
    }
    RecordingSink sink;
    const ImportResult result = ImportIni_ReadBytes(toUtf8(text), sink);
    EXPECT_EQ(result.Ok, 1);
    EXPECT_EQ(result.Text, u"File imported successfully!");
    ASSERT_EQ(sink.groups.size(), groups.size());
    for (std::size_t i = 0; i < groups.size(); ++i) {
        EXPECT_EQ(sink.groups[i].Name, groups[i].Name);
        EXPECT_EQ(sink.groups[i].Icon, groups[i].Icon);
        EXPECT_EQ(sink.groups[i].GroupID, groups[i].GroupID);
        EXPECT_EQ(sink.groups[i].Depth, groups[i].Depth);
    }
    ASSERT_EQ(sink.entries.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        expectSame(sink.entries[i], entries[i]);
    }
    EXPECT_EQ(sink.percents, (std::vector<int>{17, 33, 50, 67, 83, 100}));
}

TEST(IniImport, HandEditedFilesAndOddValues) {
    const std::string text =
        "\xEF\xBB\xBF"
        "Name = before any section\r"  // ignored: belongs to no record
        "[1]\r"                        // CR-only line ends
        "name=No type is a group\r"
        "ICON =  42abc\r"
        "GroupID = $1F\r"
        "Depth = %101\r"
        "a stray line without an equals sign\r"
        "[1]\n"  // the same name again: a record of its own
        "EntryType = 1\n"
        "ID = 99999999999\n"
        "GroupID = -99999999999\n"
        "Account = first\n"
        "Account = second\n"
        "Password = a\xFF"
        "b\n"
        "CreationDate = -0x10\n"
        "[2]\n"
        "EntryType = 2\n"
        "Name = skipped\n"
        "[ ]\n"
        "EntryType = \t-1\n";
    RecordingSink sink;
    ASSERT_EQ(ImportIni_ReadBytes(text, sink).Ok, 1);
    ASSERT_EQ(sink.groups.size(), 1u);
    EXPECT_EQ(sink.groups[0].Name, u"No type is a group");
    EXPECT_EQ(sink.groups[0].Icon, 42);
    EXPECT_EQ(sink.groups[0].GroupID, 31);
    EXPECT_EQ(sink.groups[0].Depth, 5);
    ASSERT_EQ(sink.entries.size(), 1u);
    const EntryRecord& e = sink.entries[0];
    EXPECT_EQ(e.ID, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(e.GroupID, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(e.Account, u"first");
    EXPECT_EQ(e.Password, u"a\uFFFDb");
    EXPECT_EQ(e.CreationDate, 0);
    EXPECT_EQ(e.User, u"");  // missing keys are empty texts and zeros
    EXPECT_EQ(e.Expires, 0);
    EXPECT_EQ(sink.percents.back(), 100);  // four sections, skipped ones counted

    // An empty file imports nothing and still succeeds.
    RecordingSink empty;
    EXPECT_EQ(ImportIni_ReadBytes("", empty).Ok, 1);
    EXPECT_TRUE(empty.groups.empty() && empty.entries.empty());
}

}  // namespace
}  // namespace vlt::import
