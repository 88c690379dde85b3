#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "SampleVault.h"
#include "ScriptedDesktop.h"
#include "TraceCapture.h"
#include "common/Utf.h"
#include "engine/text/TimePeriods.h"
#include "engine/vault/Engine.h"
#include "engine/view/EntryList.h"
#include "engine/view/EntryOperations.h"

namespace vlt {
namespace {

constexpr std::int32_t kNow = 1796722130;  // 12/08/2026 09:28:50
using Ids = std::vector<std::int32_t>;

struct EntryOperations : ::testing::Test {
    test::ScriptedDesktop desktop;
    Engine engine{desktop};

    void SetUp() override {
        engine.clock = [] { return kNow; };
        group(10, u"Web");
        group(20, u"Mail");
        desktop.selectedGroupItem = 1;
    }
    void TearDown() override {
        EXPECT_TRUE(desktop.unexpected.empty()) << desktop.unexpected.front();
    }
    void group(std::int32_t id, std::u16string name) {
        engine.ids.RegisterID(id);
        engine.vault.Groups.append(Group{id, 1, std::move(name), 0});
    }
    // The editor's answer: the account and comment typed, the rest as given.
    static Entry typed(std::u16string account, std::u16string password = u"pw") {
        Entry result;
        result.Account = account;
        result.Comment = u"about " + account;
        result.Password = password;
        return result;
    }
    std::int32_t add(std::u16string account) {
        desktop.entryWindowAnswers.push_back(typed(std::move(account)));
        EXPECT_EQ(Entry_Add(engine), 1);
        return desktop.entryWindowInputs.back().ID;
    }
    Ids vaultIds() const {
        Ids ids;
        for (const Entry& e : engine.vault.Entries) {
            ids.push_back(e.ID);
        }
        return ids;
    }
    Ids shownIds() const {
        Ids ids;
        for (const EntryRow& row : desktop.entryRows.rows) {
            ids.push_back(row.id);
        }
        return ids;
    }
};

TEST_F(EntryOperations, AddPlacesTheEntryAfterTheSelectedRowsEntryInItsGroup) {
    const std::int32_t a = add(u"a");  // empty group: at the end of the vault, selected
    desktop.selectedGroupItem = 2;
    const std::int32_t m = add(u"m");
    desktop.selectedGroupItem = 1;
    ASSERT_EQ(Entry_RefreshList(engine), 1);
    desktop.selectedEntryRow = -1;
    const std::int32_t b = add(u"b");  // no row selected: after the last row's entry
    EXPECT_EQ(vaultIds(), (Ids{a, b, m}));
    desktop.selectedEntryRow = 0;
    const std::int32_t c = add(u"c");  // after row 0
    EXPECT_EQ(vaultIds(), (Ids{a, c, b, m}));
    EXPECT_EQ(shownIds(), (Ids{a, c, b}));
    EXPECT_EQ(desktop.selectedEntryRow, 1);
    EXPECT_TRUE(desktop.comment == u"about c");

    const Entry& stored = engine.vault.Entries.at(1);
    EXPECT_EQ(stored.GroupID, 10);
    EXPECT_TRUE(stored.GroupName == u"Web");
    EXPECT_TRUE(stored.AttachmentNames == u"No attachments");
    EXPECT_EQ(stored.CreationDate, kNow);
    EXPECT_TRUE(stored.Password == u"pw");
    // The ID was drawn before the editor opened and is registered; each editor got its own.
    EXPECT_EQ(engine.ids.ID_Exists(c), 1);
    EXPECT_EQ(desktop.entryWindowModes, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_NE(a, b);

    // Cancel adds nothing.
    desktop.entryWindowAnswers.push_back(std::nullopt);
    EXPECT_EQ(Entry_Add(engine), 0);
    EXPECT_EQ(engine.vault.Entries.count(), 4);
}

TEST_F(EntryOperations, AddIsRefusedWithoutAGroupAndStoresAnEntryTheFilterHides) {
    for (int item : {-1, 0}) {
        desktop.selectedGroupItem = item;
        EXPECT_EQ(Entry_Add(engine), 0);
    }
    EXPECT_EQ(
        desktop.messageTexts(),
        (std::vector<std::u16string>{u"No group selected. Please select a group and try again.",
                                     u"The root group cannot contain any entries."}));
    EXPECT_TRUE(desktop.entryWindowInputs.empty());

    // A new entry with the expired-only view: kept in the vault, no row shown.
    desktop.selectedGroupItem = 1;
    engine.ViewFilter = 1;
    add(u"fresh");
    EXPECT_EQ(engine.vault.Entries.count(), 1);
    EXPECT_TRUE(shownIds().empty());
}

TEST_F(EntryOperations, AddRunningOutOfMemoryEndsTheProgramWithAFailureStatus) {
    desktop.onEntryWindow = [] { throw std::bad_alloc(); };
    EXPECT_EQ(Entry_Add(engine), 0);
    EXPECT_EQ(desktop.messageTexts(),
              std::vector<std::u16string>{u"Error allocating memory for a new entry!"});
    ASSERT_EQ(desktop.endCodes.size(), 1u);
    EXPECT_NE(desktop.endCodes[0], 0);
    EXPECT_TRUE(engine.vault.Entries.empty());
}

TEST_F(EntryOperations, EditorInputOffersExpiryAndRedWithoutTouchingTheEntry) {
    engine.settings.Main.NewlyAddedExpireIn = 1;
    engine.settings.Main.NewlyAddedExpireDays = 30;
    add(u"a");
    const Entry& addInput = desktop.entryWindowInputs.back();
    EXPECT_EQ(addInput.Expires, 1);
    EXPECT_EQ(addInput.ExpirationDate, kNow + 30 * 86'400);
    EXPECT_EQ(addInput.BackgroundColor, 255);  // never chosen: offered as red

    engine.settings.Main.NewlyAddedExpireIn = 0;
    Entry black;
    black.CustomBackground = 1;  // black chosen on purpose
    black.Expires = 1;
    black.ExpirationDate = 77;
    EXPECT_EQ(EntryEditorInput(engine, black, 1).BackgroundColor, 0);
    EXPECT_EQ(EntryEditorInput(engine, black, 1).ExpirationDate, 77);
    EXPECT_EQ(EntryEditorInput(engine, black, 0).ExpirationDate, kNow);
    EXPECT_EQ(EntryEditorInput(engine, black, 0).Expires, 0);

    // Cancelling the editor leaves the stored record as it was, colour included.
    Entry& stored = engine.vault.Entries.at(0);
    stored.BackgroundColor = 0;
    desktop.selectedEntryRow = 0;
    desktop.entryWindowAnswers.push_back(std::nullopt);
    EXPECT_EQ(Entry_Edit(engine), 0);
    EXPECT_EQ(stored.BackgroundColor, 0);
    EXPECT_EQ(desktop.entryWindowModes.back(), 1);
}

TEST_F(EntryOperations, EditKeepsIdGroupAndCreationDateAndSurvivesAClosedContainer) {
    const std::int32_t id = add(u"a");
    Entry& stored = engine.vault.Entries.at(0);
    stored.CreationDate = 1000;
    engine.clock = [] { return kNow + 60; };
    Entry result = typed(u"renamed");
    result.Expires = 1;
    result.ExpirationDate = 5;
    result.CustomForeground = 1;
    result.ForegroundColor = 0x123456;
    desktop.entryWindowAnswers.push_back(result);
    desktop.selectedEntryRow = 0;
    test::TraceCapture trace(engine.log);
    EXPECT_EQ(Entry_Edit(engine), 1);
    EXPECT_EQ(stored.ID, id);
    EXPECT_EQ(stored.GroupID, 10);
    EXPECT_EQ(stored.CreationDate, 1000);
    EXPECT_EQ(stored.ModificationDate, kNow + 60);
    EXPECT_TRUE(stored.Account == u"renamed");
    EXPECT_EQ(stored.ForegroundColor, 0x123456);
    EXPECT_EQ(stored.ExpirationDate, 5);
    EXPECT_TRUE(desktop.comment == u"about renamed");
    EXPECT_EQ(desktop.selectedEntryRow, 0);
    EXPECT_EQ(trace.lines(),
              "Entry_Edit() -> Editing entry\n"
              "Entry_Edit() -> Entry edited, returning\n");

    // The container closes while the editor is open: nothing is written anywhere.
    desktop.onEntryWindow = [&] { engine.vault.clear(); };
    desktop.entryWindowAnswers.push_back(typed(u"late"));
    EXPECT_EQ(Entry_Edit(engine), 0);
    desktop.entryWindowAnswers.push_back(typed(u"late"));
    EXPECT_EQ(Entry_Add(engine), 0);
    EXPECT_TRUE(engine.vault.Entries.empty());
}

TEST_F(EntryOperations, MovesSwapOnlyTheTwoEntriesAcrossOtherGroups) {
    const std::int32_t a = add(u"a");
    desktop.selectedGroupItem = 2;
    const std::int32_t m = add(u"m");
    desktop.selectedGroupItem = 1;
    Entry_RefreshList(engine);
    desktop.selectedEntryRow = -1;
    const std::int32_t b = add(u"b");  // a, b, m in the vault
    desktop.selectedGroupItem = 2;
    desktop.selectedEntryRow = -1;
    Entry_RefreshList(engine);
    const std::int32_t n = add(u"n");
    desktop.selectedGroupItem = 1;
    Entry_RefreshList(engine);
    ASSERT_EQ(vaultIds(), (Ids{a, b, m, n}));

    desktop.selectedEntryRow = 1;
    EXPECT_EQ(Entry_MoveUp(engine), 1);
    EXPECT_EQ(vaultIds(), (Ids{b, a, m, n}));
    EXPECT_EQ(shownIds(), (Ids{b, a}));
    EXPECT_EQ(desktop.selectedEntryRow, 0);

    // The first row up and the last row down do nothing and say nothing.
    const std::size_t shown = desktop.messages.size();
    EXPECT_EQ(Entry_MoveUp(engine), 0);
    desktop.selectedEntryRow = 1;
    EXPECT_EQ(Entry_MoveDown(engine), 0);
    EXPECT_EQ(desktop.messages.size(), shown);
    EXPECT_EQ(vaultIds(), (Ids{b, a, m, n}));

    // With the entries of the other group between them.
    engine.vault.Entries.move(1, 3);  // b, m, n, a
    Entry_RefreshList(engine);
    desktop.selectedEntryRow = 0;
    EXPECT_EQ(Entry_MoveDown(engine), 1);
    EXPECT_EQ(vaultIds(), (Ids{a, m, n, b}));
    EXPECT_EQ(desktop.selectedEntryRow, 1);
}

TEST_F(EntryOperations, RemoveSelectsTheRowAboveAndTakesTheAttachmentsAlong) {
    const std::int32_t a = add(u"a");
    const std::int32_t b = add(u"b");
    const std::int32_t c = add(u"c");
    test::AddAttachment(engine.vault, 501, b, 3);
    test::AddAttachment(engine.vault, 502, a, 3);
    test::AddAttachment(engine.vault, 503, b, 3);
    engine.ids.RegisterID(501);
    engine.ids.RegisterID(503);

    desktop.selectedEntryRow = 1;
    desktop.yesNoAnswers = {false, true};
    EXPECT_EQ(Entry_Remove(engine), 0);
    EXPECT_EQ(engine.vault.Entries.count(), 3);
    EXPECT_EQ(Entry_Remove(engine), 1);
    EXPECT_EQ(vaultIds(), (Ids{a, c}));
    EXPECT_EQ(desktop.selectedEntryRow, 0);
    ASSERT_EQ(engine.vault.Attachments.count(), 1);
    EXPECT_EQ(engine.vault.Attachments.at(0).EntryID, a);
    EXPECT_EQ(engine.ids.ID_Exists(b) + engine.ids.ID_Exists(501) + engine.ids.ID_Exists(503), 0);

    desktop.yesNoAnswers = {true, true};
    EXPECT_EQ(Entry_Remove(engine), 1);  // row 0: the new row 0 is selected
    EXPECT_EQ(shownIds(), (Ids{c}));
    EXPECT_EQ(desktop.selectedEntryRow, 0);
    EXPECT_EQ(Entry_Remove(engine), 1);  // the only entry: no row left
    EXPECT_TRUE(shownIds().empty());
    EXPECT_EQ(desktop.selectedEntryRow, -1);
}

TEST(TimePeriods, CalendarStepsClampTheDayAndSaturate) {
    auto date = [](const char16_t* text) {  // "yyyy-mm-dd hh:ii" as a date
        std::tm tm{};
        const std::string s = toUtf8(text);
        strptime(s.c_str(), "%Y-%m-%d %H:%M", &tm);
        return static_cast<std::int32_t>(timegm(&tm));
    };
    const std::int32_t jan31 = date(u"2024-01-31 13:45");
    EXPECT_EQ(DateAfterPeriod(jan31, 0), jan31);
    EXPECT_EQ(DateAfterPeriod(jan31, 1), jan31 + 604'800);
    EXPECT_EQ(DateAfterPeriod(jan31, 2), jan31 + 2 * 604'800);
    EXPECT_EQ(DateAfterPeriod(jan31, 3), date(u"2024-02-29 13:45"));  // leap year
    EXPECT_EQ(DateAfterPeriod(jan31, 4), date(u"2024-03-31 13:45"));
    EXPECT_EQ(DateAfterPeriod(jan31, 5), date(u"2024-07-31 13:45"));
    EXPECT_EQ(AddCalendarMonths(date(u"2023-01-31 00:00"), 1), date(u"2023-02-28 00:00"));
    EXPECT_EQ(AddCalendarMonths(date(u"2023-12-15 08:00"), 1), date(u"2024-01-15 08:00"));
    const std::int32_t leapDay = date(u"2024-02-29 23:59");
    EXPECT_EQ(DateAfterPeriod(leapDay, 6), date(u"2025-02-28 23:59"));
    EXPECT_EQ(DateAfterPeriod(leapDay, 8), date(u"2027-02-28 23:59"));
    EXPECT_EQ(DateAfterPeriod(date(u"2023-03-31 10:00"), 7), date(u"2025-03-31 10:00"));
    // Past 2038 the date stays at the last one that fits instead of wrapping into 1901.
    const std::int32_t late = date(u"2037-06-01 00:00");
    EXPECT_EQ(DateAfterPeriod(late, 8), std::numeric_limits<std::int32_t>::max());
    // Before 1970: 1969-12-31 23:00 plus one month is 1970-01-31 23:00; an unknown period keeps.
    EXPECT_EQ(DateAfterPeriod(-3600, 3), date(u"1970-01-31 23:00"));
    EXPECT_EQ(DateAfterPeriod(jan31, 9), jan31);
    EXPECT_EQ(DateAfterPeriod(std::numeric_limits<std::int32_t>::max() - 5, 1),
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(AddCalendarMonths(date(u"1969-12-31 12:00"), 2), date(u"1970-02-28 12:00"));
}

}  // namespace
}  // namespace vlt
