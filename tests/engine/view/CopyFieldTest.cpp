#include <gtest/gtest.h>

#include "ScriptedDesktop.h"
#include "TraceCapture.h"
#include "common/Utf.h"
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

TEST_F(CopyFields, AnAddressWithoutSchemeOpensAsHttpAndARefusedOneSaysWhy) {
    struct Case {
        std::u16string stored;
        std::u16string opened;   // "" when nothing may be opened
        std::u16string message;  // what the user is told instead
    };
    const std::u16string refused =
        u"VLT opens only web and mail addresses (http, https, ftp and mailto).";
    const Case cases[] = {
        {u" www.example.com", u"http://www.example.com", u""},
        {u"example.com/login", u"http://example.com/login", u""},
        {u"localhost:8080/admin", u"http://localhost:8080/admin", u""},
        {u"HTTPS://bank.example", u"HTTPS://bank.example", u""},
        {u"mailto:jo@example.com", u"mailto:jo@example.com", u""},
        {u"jo@example.com", u"mailto:jo@example.com", u""},
        {u"jo@example.com/inbox", u"http://jo@example.com/inbox", u""},
        {u"file:///etc/passwd", u"", refused},
        {u"javascript:alert(1)", u"", refused},
        {u"/usr/bin/xterm", u"", refused},
        {u"   ", u"", u"This entry has no URL to open."},
        {u"", u"", u"This entry has no URL to open."},
    };
    for (const Case& c : cases) {
        test::TraceCapture trace(engine.log);
        engine.vault.Entries.at(0).URL = c.stored;
        engine.vault.Entries.at(0).AccessDate = 0;
        desktop.openedUrls.clear();
        desktop.messages.clear();
        EXPECT_EQ(FieldLaunchURL(engine), c.opened.empty() ? 0 : 1) << toUtf8(c.stored);
        EXPECT_EQ(entry().AccessDate, kNow);  // used, even when nothing could be opened
        EXPECT_EQ(entry().URL, c.stored);     // the stored address stays as it was
        const std::string lines = trace.lines();
        if (c.opened.empty()) {
            EXPECT_TRUE(desktop.openedUrls.empty()) << toUtf8(c.stored);
            ASSERT_EQ(desktop.messages.size(), 1u) << toUtf8(c.stored);
            EXPECT_EQ(desktop.messages[0].text, c.message);
            EXPECT_EQ(desktop.messages[0].caption, u"Information");
            EXPECT_NE(lines.find("FieldLaunchURL() -> URL not opened, returning"),
                      std::string::npos);
            EXPECT_EQ(lines.find("Launched browser"), std::string::npos) << lines;
        } else {
            EXPECT_EQ(desktop.openedUrls, std::vector<std::u16string>{c.opened});
            EXPECT_TRUE(desktop.messages.empty()) << toUtf8(c.stored);
            EXPECT_NE(lines.find("FieldLaunchURL() -> Launched browser, returning"),
                      std::string::npos);
        }
    }

    // A browser that cannot be started is no launch either.
    test::TraceCapture trace(engine.log);
    engine.vault.Entries.at(0).URL = u"example.com";
    desktop.openUrlResult = false;
    desktop.messages.clear();
    EXPECT_EQ(FieldLaunchURL(engine), 0);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, u"VLT could not start the default browser.");
    EXPECT_EQ(trace.lines().find("Launched browser"), std::string::npos);
}

}  // namespace
}  // namespace vlt
