#include "engine/view/Find.h"

#include <gtest/gtest.h>

#include <vector>

#include "ScriptedDesktop.h"
#include "engine/vault/Engine.h"

namespace vlt {
namespace {

constexpr std::int32_t kNow = 5000;

SearchOptions Search(std::u16string text, bool allFields, bool caseSensitive, bool expired) {
    SearchOptions o;
    o.SearchText = std::move(text);
    o.SearchAccounts = 1;
    const std::int32_t rest = allFields ? 1 : 0;
    o.SearchUsers = o.SearchPassword = o.SearchURLs = o.SearchAttachments = o.SearchComments = rest;
    o.CaseSensitive = caseSensitive ? 1 : 0;
    o.SearchExpired = expired ? 1 : 0;
    return o;
}

struct FindFlow : ::testing::Test {
    test::ScriptedDesktop desktop;
    Engine engine{desktop};

    void SetUp() override {
        engine.clock = [] { return kNow; };
        engine.vault.Groups.append(Group{10, 1, u"Web", 0});
        engine.vault.Groups.append(Group{20, 1, u"Mail", 0});
        Entry& e1 = add(1, 10);
        e1.Account = u"Bank";
        e1.Comment = u"first";
        add(2, 20).User = u"\u00C4RGER \u041F\u0420\u0418";
        Entry& e3 = add(3, 10);
        e3.URL = u"bank.example";
        e3.Expires = 1;
        e3.ExpirationDate = kNow;
        Entry& e4 = add(4, 20);
        e4.AttachmentNames = u"a  b.txt";
        e4.Comment = u"fourth";
        e4.Password = SecureText(u"xBANKx");
    }

    Entry& add(std::int32_t id, std::int32_t groupId) {
        Entry entry;
        entry.ID = id;
        entry.GroupID = groupId;
        return engine.vault.Entries.append(std::move(entry));
    }

    // The IDs hit by one search from the window and the find-next commands after it, until a
    // find-next misses.
    std::vector<std::int32_t> hits(const SearchOptions& search) {
        desktop.findPresses = {search};
        OpenFindWindow(engine);
        std::vector<std::int32_t> ids;
        if (engine.SearchPosition < 0) {
            return ids;
        }
        do {
            ids.push_back(engine.vault.Entries.at(engine.SearchPosition).ID);
        } while (FindNextEntry(engine, 0) == 1 && ids.size() < 10);
        return ids;
    }
    using Ids = std::vector<std::int32_t>;
};

TEST_F(FindFlow, OptionsChooseTheFieldsTheCaseAndWhetherExpiredEntriesCount) {
    EXPECT_EQ(hits(Search(u"bank", false, false, true)), (Ids{1}));
    EXPECT_EQ(hits(Search(u"bank", true, false, true)), (Ids{1, 3, 4}));
    EXPECT_EQ(hits(Search(u"bank", true, false, false)), (Ids{1, 4}));
    EXPECT_EQ(hits(Search(u"BANK", true, true, true)), (Ids{4}));
    // Capitals beyond ASCII fold to their small letters, unit by unit, only without case.
    EXPECT_EQ(hits(Search(u"\u00E4rger \u043F\u0440\u0438", true, false, true)), (Ids{2}));
    EXPECT_EQ(hits(Search(u"\u00E4rger", true, true, true)), (Ids{}));
    // Blanks are searched for as typed.
    EXPECT_EQ(hits(Search(u"  ", true, false, true)), (Ids{4}));
    EXPECT_TRUE(desktop.unexpected.empty());
}

TEST_F(FindFlow, AHitShowsItsGroupAndRowAndTheEndNeverWrapsAround) {
    desktop.findPresses = {Search(u"bank", true, false, true)};
    OpenFindWindow(engine);
    EXPECT_EQ(desktop.selectedGroupItem, 1);
    ASSERT_EQ(desktop.entryRows.count(), 2);
    EXPECT_EQ(desktop.selectedEntryRow, 0);
    EXPECT_TRUE(desktop.comment == u"first");
    EXPECT_TRUE(desktop.messages.empty());

    ASSERT_EQ(FindNextEntry(engine, 0), 1);  // entry 3, second row of the same group
    EXPECT_EQ(desktop.selectedEntryRow, 1);
    ASSERT_EQ(FindNextEntry(engine, 0), 1);  // entry 4 in the other group
    EXPECT_EQ(desktop.selectedGroupItem, 2);
    EXPECT_EQ(desktop.selectedEntryRow, 1);
    EXPECT_TRUE(desktop.comment == u"fourth");
    EXPECT_EQ(FindNextEntry(engine, 0), 0);
    EXPECT_EQ(FindNextEntry(engine, 0), 0);
    EXPECT_EQ(engine.SearchPosition, 3);
    EXPECT_EQ(desktop.messageTexts(), (std::vector<std::u16string>{
                                          u"No more matching entries found.",
                                          u"No more matching entries found.",
                                      }));
    EXPECT_EQ(desktop.lastMessage()->caption, u"Information");
    EXPECT_EQ(desktop.lastMessage()->icon, MessageIcon::Information);

    // Opening the window again starts from the top.
    desktop.findPresses = {Search(u"bank", true, false, true)};
    OpenFindWindow(engine);
    EXPECT_EQ(engine.SearchPosition, 0);
}

TEST_F(FindFlow, TheWindowRefusesEmptyTextStaysOpenOnAMissAndKeepsWhatItShowed) {
    // Find-next before any search finds nothing: no field is searched.
    EXPECT_EQ(FindNextEntry(engine, 0), 0);

    engine.settings.Search = Search(u"stored", false, true, false);
    desktop.findPresses = {Search(u"", true, false, true), Search(u"zzz", true, false, true)};
    desktop.findShownAtCancel = Search(u"typed later", true, false, false);
    OpenFindWindow(engine);
    EXPECT_TRUE(desktop.findWindowFills.at(0).SearchText == u"stored");
    EXPECT_EQ(desktop.findWindowFills.at(0).CaseSensitive, 1);
    EXPECT_EQ(desktop.messageTexts(), (std::vector<std::u16string>{
                                          u"No more matching entries found.",
                                          u"Please fill in a search string.",
                                          u"No matching entries found.",
                                      }));
    // Cancelled: the window's last values are stored, find-next runs the last search made.
    EXPECT_TRUE(engine.settings.Search.SearchText == u"typed later");
    EXPECT_TRUE(engine.ActiveSearch.SearchText == u"zzz");
    EXPECT_EQ(engine.SearchPosition, -1);
}

TEST_F(FindFlow, AHitTheListHidesSelectsItsGroupButNoRow) {
    engine.ViewFilter = 1;  // expired entries only: entry 1 is not listed
    desktop.selectedEntryRow = 0;
    desktop.findPresses = {Search(u"bank", false, false, true)};
    OpenFindWindow(engine);
    EXPECT_EQ(desktop.selectedGroupItem, 1);
    EXPECT_EQ(desktop.entryRows.count(), 1);
    EXPECT_EQ(desktop.selectedEntryRow, -1);
    EXPECT_TRUE(desktop.comment.empty());
}

TEST_F(FindFlow, FindNextGoesOnAfterTheHitWhenEntriesWereRemovedOrMoved) {
    desktop.findPresses = {Search(u"bank", true, false, true)};
    OpenFindWindow(engine);
    ASSERT_EQ(FindNextEntry(engine, 0), 1);
    ASSERT_EQ(engine.SearchPosition, 2);  // entry 3
    // Entries before the hit go: the search goes on after entry 3, now at index 0.
    engine.vault.Entries.select(0);
    engine.vault.Entries.deleteCurrent();
    engine.vault.Entries.select(0);
    engine.vault.Entries.deleteCurrent();
    ASSERT_EQ(FindNextEntry(engine, 0), 1);
    EXPECT_EQ(engine.SearchPosition, 1);
    // The hit itself goes, and with it the end of the list: nothing more, no out-of-range read.
    engine.vault.Entries.select(1);
    engine.vault.Entries.deleteCurrent();
    EXPECT_EQ(FindNextEntry(engine, 0), 0);
}

TEST(FindEntry, TheFirstHitInListOrderWinsAcrossALargeVault) {
    Vault vault;
    for (int i = 0; i < 20'000; ++i) {
        Entry entry;
        entry.ID = i + 1;
        entry.Comment = i == 5'000 || i == 9'000 || i == 19'999 ? u"Needle" : u"hay";
        vault.Entries.append(std::move(entry));
    }
    const SearchOptions search = Search(u"needle", true, false, true);
    EXPECT_EQ(FindEntry(vault, search, 0, kNow), 5'000);
    EXPECT_EQ(FindEntry(vault, search, 5'001, kNow), 9'000);
    EXPECT_EQ(FindEntry(vault, search, 9'001, kNow), 19'999);
    EXPECT_EQ(FindEntry(vault, search, 20'000, kNow), -1);
}

TEST(FoldCase, SmallLettersForCapitalsOnlyAndEveryOtherUnitUnchanged) {
    EXPECT_EQ(FoldCase(u'Q'), u'q');
    EXPECT_EQ(FoldCase(u'\u00DE'), u'\u00FE');  // thorn
    EXPECT_EQ(FoldCase(u'\u00D7'), u'\u00D7');  // multiplication sign
    EXPECT_EQ(FoldCase(u'\u00DF'), u'\u00DF');  // sharp s has no capital here
    EXPECT_EQ(FoldCase(u'\u0130'), u'i');
    EXPECT_EQ(FoldCase(u'\u0178'), u'\u00FF');
    EXPECT_EQ(FoldCase(u'\u0139'), u'\u013A');  // odd-numbered capitals of Latin Extended-A
    EXPECT_EQ(FoldCase(u'\u013A'), u'\u013A');
    EXPECT_EQ(FoldCase(u'\u03A3'), u'\u03C3');
    EXPECT_EQ(FoldCase(u'\u03A2'), u'\u03A2');  // no capital final sigma
    EXPECT_EQ(FoldCase(u'\u0401'), u'\u0451');
    EXPECT_EQ(FoldCase(u'\u1E9E'), u'\u1E9E');
    EXPECT_EQ(FoldCase(u'\uFF21'), u'\uFF41');
    EXPECT_EQ(FoldCase(u'\xD835'), u'\xD835');  // a surrogate stays
    EXPECT_FALSE(ContainsText(u"", u"a", false));
    EXPECT_FALSE(ContainsText(u"abc", u"", true));
    EXPECT_TRUE(ContainsText(u"xxABC", u"abc", false));
    EXPECT_FALSE(ContainsText(u"xxAB", u"abc", false));
    // Two capitals fold to i: both are found, in a text longer than one word of four units.
    EXPECT_TRUE(ContainsText(u"abcdefg\u0130Z", u"iz", false));
    EXPECT_TRUE(ContainsText(u"abcdefgIz", u"iz", false));
    EXPECT_FALSE(ContainsText(u"abcdefgIz", u"iz", true));
}

}  // namespace
}  // namespace vlt
