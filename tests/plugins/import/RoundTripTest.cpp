// What the INI and own-layout CSV exporters write, their importers read back: the exporters'
// hostile fixture vault, field for field. (The KeePass CSV layout is checked against a plain
// writer of its own.)
#include <gtest/gtest.h>

#include "CsvWriter.h"
#include "ExportFixture.h"
#include "ImportTestSupport.h"
#include "IniImport.h"
#include "IniWriter.h"
#include "OwnCsvImport.h"
#include "common/Utf.h"

namespace vlt::import {
namespace {

using test::RecordingSink;

// A stored text as a UTF-8 file carries it: a lone surrogate becomes U+FFFD.
std::u16string carried(const char16_t* text) {
    return fromUtf8(toUtf8(text));
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

TEST(RoundTrip, OwnCsvGivesBackEveryTextItWrites) {
    const vlt::test::FixtureVault vault;
    RecordingSink sink;
    const std::string file = vlt::test::RunWriter(plugin::ExportCSV, plugin::ExportScope{}).bytes;
    ASSERT_EQ(ImportCsv_ReadBytes(file, sink).Ok, 1);
    ASSERT_EQ(sink.entries.size(), vault.entries().size());
    for (std::size_t i = 0; i < vault.entries().size(); ++i) {
        SCOPED_TRACE(i);
        const VLT_Entry& e = vault.entries()[i];
        const EntryRecord& r = sink.entries[i];
        // The comment's line breaks are written as blanks, one for each.
        const std::u16string stored = carried(e.Comment);
        std::u16string comment;
        for (std::size_t c = 0; c < stored.size(); ++c) {
            const bool pair = stored[c] == u'\r' && c + 1 < stored.size() && stored[c + 1] == u'\n';
            comment += stored[c] == u'\r' || stored[c] == u'\n' ? u' ' : stored[c];
            c += pair ? 1 : 0;
        }
        EXPECT_EQ(
            (std::vector<std::u16string>{r.GroupName, r.Account, r.User, r.Password, r.Comment}),
            (std::vector<std::u16string>{carried(e.GroupName), carried(e.Account), carried(e.User),
                                         carried(e.Password), comment}));
    }
}

}  // namespace
}  // namespace vlt::import
