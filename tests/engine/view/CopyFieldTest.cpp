#include <gtest/gtest.h>

#include "ScriptedDesktop.h"
#include "engine/vault/Engine.h"
#include "engine/view/CopyField.h"
#include "engine/view/EntryList.h"

namespace vlt {
namespace {

constexpr std::int32_t kNow = 1796722130;  // 12/08/2026 09:28:50

struct CopyFields : ::testing::Test {
    test::ScriptedDesktop desktop;
    Engine engine{desktop};

    void SetUp() override {
        engine.clock = [] { return kNow; };
        engine.ids.RegisterID(10);
        engine.vault.Groups.append(Group{10, 1, u"Web", 0});
        engine.ids.RegisterID(20);
        Entry entry;
        entry.ID = 20;
        entry.GroupID = 10;
        entry.Account = u"bank";
        entry.User = u"jo";
        entry.Password = u"s3cret";
        entry.URL = u"www.example.com";
        entry.Expires = 0;
        entry.ExpirationDate = 0;  // 01/01/1970 00:00:00
        entry.CreationDate = 86400;
        engine.vault.Entries.append(std::move(entry));
        engine.settings.Mask.Passwords = 1;
        desktop.selectedGroupItem = 1;
        ShowGroupEntries(engine, 20, 0);
    }
    void TearDown() override {
        EXPECT_TRUE(desktop.unexpected.empty()) << desktop.unexpected.front();
    }
    const Entry& entry() { return engine.vault.Entries.at(0); }
};

TEST_F(CopyFields, EachCodeCopiesTheStoredTextStampsTheEntryAndRestartsTheCountdown) {
    engine.ClipboardClearState = {1, 7};  // a countdown under way
    ASSERT_EQ(CopyField(engine, 2), 1);
    EXPECT_EQ(desktop.clipboardText, u"s3cret");  // masked in the list, real on the clipboard
    EXPECT_EQ(entry().AccessDate, kNow);
    EXPECT_EQ(engine.ClipboardClearState.Armed, 1);
    EXPECT_EQ(engine.ClipboardClearState.Counter, 0);
    EXPECT_EQ(desktop.minimizeCalls, 0);

    const std::u16string expected[] = {u"bank",
                                       u"jo",
                                       u"s3cret",
                                       u"www.example.com",
                                       u"",
                                       u"01/02/1970 00:00:00",
                                       u"12/08/2026 09:28:50",
                                       u"01/01/1970 00:00:00",
                                       u"01/01/1970 00:00:00"};
    for (int code = 0; code <= 8; ++code) {
        ASSERT_EQ(CopyField(engine, code), 1);
        EXPECT_EQ(desktop.clipboardText, expected[code]) << code;
        EXPECT_TRUE(desktop.clipboardOwned) << code;
    }
    // An unknown code empties the clipboard and still arms the clearing.
    engine.ClipboardClearState = {};
    EXPECT_EQ(CopyField(engine, 9), 1);
    EXPECT_EQ(desktop.clipboardText, u"");
    EXPECT_EQ(engine.ClipboardClearState.Armed, 1);

    engine.settings.Main.MinClipCopy = 1;
    CopyField(engine, 0);
    EXPECT_EQ(desktop.minimizeCalls, 1);
}

TEST_F(CopyFields, WithoutASelectedRowNothingIsCopiedOrMinimised) {
    engine.settings.Main.MinClipCopy = 1;
    desktop.selectedEntryRow = -1;
    EXPECT_EQ(CopyField(engine, 2), 0);
    EXPECT_EQ(FieldLaunchURL(engine), 0);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0].text, u"Please select (click) an item in the list.");
    desktop.entryRows = {};
    EXPECT_EQ(CopyField(engine, 2), 0);
    EXPECT_EQ(desktop.messages.size(), 2u);  // an empty list says nothing
    EXPECT_TRUE(desktop.clipboardCopies.empty());
    EXPECT_EQ(desktop.minimizeCalls, 0);
    EXPECT_EQ(engine.ClipboardClearState.Armed, 0);
}

TEST_F(CopyFields, OnlyWebAndMailAddressesAreHandedToTheBrowser) {
    const std::u16string urls[] = {u" www.example.com",
                                   u"mailto:jo@example.com",
                                   u"file:///etc/passwd",
                                   u"javascript:alert(1)",
                                   u"",
                                   u"/usr/bin/xterm"};
    for (const std::u16string& url : urls) {
        engine.vault.Entries.at(0).URL = url;
        engine.vault.Entries.at(0).AccessDate = 0;
        EXPECT_EQ(FieldLaunchURL(engine), 1);
        EXPECT_EQ(entry().AccessDate, kNow);  // used, even when nothing could be opened
    }
    EXPECT_EQ(desktop.openedUrls,
              (std::vector<std::u16string>{u"http://www.example.com", u"mailto:jo@example.com"}));
}

}  // namespace
}  // namespace vlt
