// What the exporters write, the importers read back: the exporters' hostile fixture vault through
// each writer and its reader, field for field, as far as each layout holds the field.
#include <gtest/gtest.h>

#include <map>

#include "CsvWriter.h"
#include "ExportFixture.h"
#include "ImportTestSupport.h"
#include "IniImport.h"
#include "IniWriter.h"
#include "KeePassCsvImport.h"
#include "KeePassCsvWriter.h"
#include "OwnCsvImport.h"
#include "engine/text/Text.h"

namespace vlt::import {
namespace {

using test::RecordingSink;

// A stored text as a UTF-8 file carries it: a lone surrogate becomes U+FFFD.
std::u16string carried(const char16_t* text) {
    return fromUtf8(toUtf8(text));
}

// The own CSV layout keeps a comment on one line: each line break becomes a blank.
std::u16string oneLine(std::u16string text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            i += text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
            out += u' ';
        } else {
            out += text[i];
        }
    }
    return out;
}

TEST(RoundTrip, IniGivesBackEveryGroupAndEntryField) {
    const vlt::test::FixtureVault vault;
    RecordingSink sink;
    const std::string file = vlt::test::RunWriter(plugin::ExportINI, plugin::ExportScope{}).bytes;
    ASSERT_EQ(ImportIni_ReadBytes(file, sink).Ok, 1);
    ASSERT_EQ(sink.groups.size(), vault.groups().size());
    for (std::size_t i = 0; i < vault.groups().size(); ++i) {
        const VLT_Group& g = vault.groups()[i];
        EXPECT_EQ(sink.groups[i].GroupID, g.ID);
        EXPECT_EQ(sink.groups[i].Depth, g.Depth);
        EXPECT_EQ(sink.groups[i].Icon, g.Icon);
        EXPECT_EQ(sink.groups[i].Name, carried(g.Name));
    }
    ASSERT_EQ(sink.entries.size(), vault.entries().size());
    for (std::size_t i = 0; i < vault.entries().size(); ++i) {
        SCOPED_TRACE(i);
        const VLT_Entry& e = vault.entries()[i];
        const EntryRecord& r = sink.entries[i];
        EXPECT_EQ(r.ID, e.ID);
        EXPECT_EQ(r.GroupID, e.GroupID);
        EXPECT_EQ(r.GroupName, carried(e.GroupName));
        EXPECT_EQ(r.Account, carried(e.Account));
        EXPECT_EQ(r.User, carried(e.User));
        EXPECT_EQ(r.Password, carried(e.Password));
        EXPECT_EQ(r.URL, carried(e.URL));
        EXPECT_EQ(r.Comment, carried(e.Comment));
        EXPECT_EQ((std::vector<std::int32_t>{r.Expires, r.CustomForeground, r.ForegroundColor,
                                             r.CustomBackground, r.BackgroundColor, r.CreationDate,
                                             r.AccessDate, r.ModificationDate, r.ExpirationDate}),
                  (std::vector<std::int32_t>{e.Expires, e.CustomForeground, e.ForegroundColor,
                                             e.CustomBackground, e.BackgroundColor, e.CreationDate,
                                             e.AccessDate, e.ModificationDate, e.ExpirationDate}));
    }
}

TEST(RoundTrip, BothCsvLayoutsGiveBackTheirFields) {
    const vlt::test::FixtureVault vault;
    const auto& entries = vault.entries();

    RecordingSink keePass;
    ASSERT_EQ(
        ImportKpCsv_ReadBytes(
            vlt::test::RunWriter(plugin::ExportKeePassCSV, plugin::ExportScope{}).bytes, keePass)
            .Ok,
        1);
    ASSERT_EQ(keePass.entries.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        const EntryRecord& r = keePass.entries[i];
        EXPECT_EQ(r.Account, carried(entries[i].Account));
        EXPECT_EQ(r.User, carried(entries[i].User));
        EXPECT_EQ(r.Password, carried(entries[i].Password));
        EXPECT_EQ(r.URL, carried(entries[i].URL));
        EXPECT_EQ(r.Comment, carried(entries[i].Comment));
    }

    RecordingSink own;
    ASSERT_EQ(ImportCsv_ReadBytes(
                  vlt::test::RunWriter(plugin::ExportCSV, plugin::ExportScope{}).bytes, own)
                  .Ok,
              1);
    ASSERT_EQ(own.entries.size(), entries.size());
    std::map<std::u16string, std::int32_t> groupOf;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        const EntryRecord& r = own.entries[i];
        EXPECT_EQ(r.GroupName, carried(entries[i].GroupName));
        EXPECT_EQ(r.Account, carried(entries[i].Account));
        EXPECT_EQ(r.User, carried(entries[i].User));
        EXPECT_EQ(r.Password, carried(entries[i].Password));
        EXPECT_EQ(r.Comment, oneLine(carried(entries[i].Comment)));
        // One group per name, the same for every entry that names it.
        EXPECT_EQ(groupOf.emplace(r.GroupName, r.GroupID).first->second, r.GroupID);
    }
    EXPECT_EQ(own.groups.size(), groupOf.size());
}

}  // namespace
}  // namespace vlt::import
