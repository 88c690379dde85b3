// What the INI and own-layout CSV exporters write, their importers read back: the exporters'
// hostile fixture vault, and a few hundred entries of random hostile texts, field for field.
// (The KeePass CSV layout is checked against a plain writer of its own.)
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

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

// Pieces that break naive readers of either layout: line breaks of every kind, quotes beside
// commas, the INI escapes, lines that look like sections, keys and comments, the date the CSV
// reader anchors older files on, blanks, a byte-order mark and text beyond the BMP.
constexpr std::u16string_view kPieces[] = {
    u"\r",
    u"\n",
    u"\r\n",
    u"\"",
    u"\"\"",
    u"\",\"",
    u",",
    u"\\",
    u"\\*",
    u"\\n",
    u"\\r",
    u"[x]",
    u"[1]",
    u"[]",
    u"Key = v",
    u"Expires = 5",
    u"EntryType = 0",
    u";",
    u"; note",
    u" ",
    u"\t",
    u"=",
    u"\u00e9\u20ac",
    u"\U0001F511",
    u"\uFEFF",
    u"\",\"2009/07/14 08:05:09\"",
    u"a",
    u"Web",
};

// Groups and entries of random texts and numbers; a fixed seed, so that a failure replays.
class RandomVault final : public plugin::RecordSource {
  public:
    RandomVault(std::size_t groups, std::size_t entries) {
        std::mt19937 random(20240611);
        auto number = [&random] { return static_cast<std::int32_t>(random()); };
        auto text = [&random] {
            std::u16string t;
            for (std::size_t n = random() % 8; n > 0; --n) {
                t += kPieces[random() % std::size(kPieces)];
            }
            return t;
        };
        // The texts first, as the records point into them: the groups', then the entries', the
        // first entry a known breaker of the CSV layout.
        for (std::size_t i = 0; i < groups + entries; ++i) {
            std::vector<std::u16string> fields;
            for (int f = 0; f < 6; ++f) {
                fields.push_back(text());
            }
            texts_.push_back(std::move(fields));
        }
        texts_.insert(texts_.begin() + static_cast<std::ptrdiff_t>(groups),
                      {u"Web\n", u"acc", u"user", u"a\",\"b", u"", u"c"});
        for (std::size_t i = 0; i < groups; ++i) {
            groups_.push_back(VLT_Group{number(), number(), texts_[i][0].c_str(), number(), 0});
        }
        for (std::size_t i = groups; i < texts_.size(); ++i) {
            const std::vector<std::u16string>& t = texts_[i];
            entries_.push_back(VLT_Entry{number(), number(), t[0].c_str(), t[1].c_str(),
                                         t[2].c_str(), t[3].c_str(), t[4].c_str(), u"",
                                         t[5].c_str(), number(), number(), number(), number(),
                                         number(), number(), number(), number(), number(), 0});
        }
    }

    std::int32_t countGroups() override {
        nextGroup_ = 0;
        return static_cast<std::int32_t>(groups_.size());
    }
    const VLT_Group* nextGroup() override {
        return nextGroup_ < groups_.size() ? &groups_[nextGroup_++] : nullptr;
    }
    std::int32_t countEntries() override {
        nextEntry_ = 0;
        return static_cast<std::int32_t>(entries_.size());
    }
    const VLT_Entry* nextEntry() override {
        return nextEntry_ < entries_.size() ? &entries_[nextEntry_++] : nullptr;
    }

    const std::vector<VLT_Group>& groups() const { return groups_; }
    const std::vector<VLT_Entry>& entries() const { return entries_; }

  private:
    std::vector<std::vector<std::u16string>> texts_;
    std::vector<VLT_Group> groups_;
    std::vector<VLT_Entry> entries_;
    std::size_t nextGroup_ = 0;
    std::size_t nextEntry_ = 0;
};

std::string exportWhole(plugin::ExportWriter writer, plugin::RecordSource& records) {
    plugin::ExportOutput out;
    const plugin::ExportScope whole;
    plugin::ExportJob job{records, whole, out, [](int) {}, vlt::test::kNow};
    writer(job);
    return out.bytes();
}

// The numbers of an entry as the exporter reads it or as the importer hands it on.
template <typename Record>
std::vector<std::int32_t> numbersOf(const Record& r) {
    return {r.ID,
            r.GroupID,
            r.Expires,
            r.CustomForeground,
            r.ForegroundColor,
            r.CustomBackground,
            r.BackgroundColor,
            r.CreationDate,
            r.AccessDate,
            r.ModificationDate,
            r.ExpirationDate};
}

void expectIniGivesBackEveryField(const std::vector<VLT_Group>& groups,
                                  const std::vector<VLT_Entry>& entries, const std::string& file) {
    RecordingSink sink;
    ASSERT_EQ(ImportIni_ReadBytes(file, sink).Ok, 1);
    ASSERT_EQ(sink.groups.size(), groups.size());
    for (std::size_t i = 0; i < groups.size(); ++i) {
        SCOPED_TRACE(i);
        const VLT_Group& g = groups[i];
        EXPECT_EQ(sink.groups[i].GroupID, g.ID);
        EXPECT_EQ(sink.groups[i].Depth, g.Depth);
        EXPECT_EQ(sink.groups[i].Icon, g.Icon);
        EXPECT_EQ(sink.groups[i].Name, carried(g.Name));
    }
    ASSERT_EQ(sink.entries.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        const VLT_Entry& e = entries[i];
        const EntryRecord& r = sink.entries[i];
        EXPECT_EQ(
            (std::vector<std::u16string>{r.GroupName, r.Account, r.User, r.Password, r.URL,
                                         r.Comment}),
            (std::vector<std::u16string>{carried(e.GroupName), carried(e.Account), carried(e.User),
                                         carried(e.Password), carried(e.URL), carried(e.Comment)}));
        EXPECT_EQ(numbersOf(r), numbersOf(e));
    }
}

// The own CSV layout carries no URL, IDs or numbers, and writes a comment's line breaks as
// blanks, one for each (a CR LF pair is one).
void expectOwnCsvGivesBackEveryText(const std::vector<VLT_Entry>& entries,
                                    const std::string& file) {
    RecordingSink sink;
    ASSERT_EQ(ImportCsv_ReadBytes(file, sink).Ok, 1);
    ASSERT_EQ(sink.entries.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        const VLT_Entry& e = entries[i];
        const EntryRecord& r = sink.entries[i];
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

TEST(RoundTrip, IniGivesBackEveryGroupAndEntryField) {
    vlt::test::FixtureVault fixture;
    expectIniGivesBackEveryField(fixture.groups(), fixture.entries(),
                                 exportWhole(plugin::ExportINI, fixture));
    RandomVault random(40, 300);
    expectIniGivesBackEveryField(random.groups(), random.entries(),
                                 exportWhole(plugin::ExportINI, random));
}

TEST(RoundTrip, OwnCsvGivesBackEveryTextItWrites) {
    vlt::test::FixtureVault fixture;
    expectOwnCsvGivesBackEveryText(fixture.entries(), exportWhole(plugin::ExportCSV, fixture));
    RandomVault random(0, 300);
    expectOwnCsvGivesBackEveryText(random.entries(), exportWhole(plugin::ExportCSV, random));
}

}  // namespace
}  // namespace vlt::import
