#include <gtest/gtest.h>

#include "ScriptedDesktop.h"
#include "engine/session/AutoClose.h"
#include "engine/session/ClipboardClear.h"
#include "engine/text/Text.h"
#include "engine/vault/Engine.h"

namespace vlt {
namespace {

struct IdleGuards : ::testing::Test {
    test::ScriptedDesktop desktop;
    Engine engine{desktop};

    void SetUp() override {
        engine.settings.Main.AutoClearClip = 1;
        engine.settings.Main.AutoClearClipSecs = 10;
        engine.settings.Main.AutoCloseContainer = 1;
        engine.settings.Main.AutoCloseSecs = 3;
    }
    void copy(std::u16string_view text) {
        desktop.SetClipboardText(text);
        ArmClipboardClear(engine.ClipboardClearState);
    }
    void openContainer() {
        engine.ContainerPath = u"/tmp/a.vlt";
        engine.ids.RegisterID(5);
        engine.vault.Groups.append(Group{5, 1, u"G", 0});
    }
};

TEST_F(IdleGuards, TheClipboardCountsDownFromTenAndIsClearedOnTheEleventhTick) {
    copy(u"pw");
    for (int shown = 10; shown >= 1; --shown) {
        AutoClearClipboardTick(engine);
        EXPECT_EQ(desktop.status[2], u"Clearing clipboard in " + decimal(shown) + u" seconds...");
        EXPECT_EQ(desktop.clipboardText, u"pw");
    }
    AutoClearClipboardTick(engine);
    EXPECT_EQ(desktop.status[2], u"Cleared clipboard contents...");
    EXPECT_EQ(desktop.clipboardText, u"");
    EXPECT_EQ(desktop.clipboardClears, 1);
    // Disarmed: later ticks leave the status and the clipboard alone.
    desktop.status[2] = u"other";
    AutoClearClipboardTick(engine);
    EXPECT_EQ(desktop.status[2], u"other");
    EXPECT_EQ(desktop.clipboardClears, 1);
}

TEST_F(IdleGuards, ANewCopyRestartsTheCountdownAndAForeignClipboardIsLeftAlone) {
    engine.settings.Main.AutoClearClipSecs = 3;
    copy(u"one");
    AutoClearClipboardTick(engine);
    AutoClearClipboardTick(engine);
    EXPECT_EQ(desktop.status[2], u"Clearing clipboard in 2 seconds...");
    copy(u"two");
    AutoClearClipboardTick(engine);
    EXPECT_EQ(desktop.status[2], u"Clearing clipboard in 3 seconds...");
    // The user copies something of their own meanwhile: it stays when the countdown ends.
    desktop.clipboardText = u"theirs";
    desktop.clipboardOwned = false;
    for (int i = 0; i < 3; ++i) {
        AutoClearClipboardTick(engine);
    }
    EXPECT_EQ(desktop.status[2], u"Cleared clipboard contents...");
    EXPECT_EQ(desktop.clipboardText, u"theirs");
    EXPECT_EQ(desktop.clipboardClears, 0);
    // With the setting off a copy is never cleared.
    engine.settings.Main.AutoClearClip = 0;
    copy(u"three");
    for (int i = 0; i < 5; ++i) {
        AutoClearClipboardTick(engine);
    }
    EXPECT_EQ(desktop.clipboardText, u"three");
}

TEST_F(IdleGuards, AnIdleContainerClosesAfterItsTimeButNeverInsideAnotherOperation) {
    openContainer();
    // A moved mouse restarts the count.
    AutoCloseContainerTick(engine, 0, 0);
    AutoCloseContainerTick(engine, 0, 0);
    AutoCloseContainerTick(engine, 5, 5);
    AutoCloseContainerTick(engine, 5, 5);
    AutoCloseContainerTick(engine, 5, 5);
    EXPECT_FALSE(engine.vault.empty());
    {
        Engine::BusyGuard saving(engine);  // a save, an editor or a plugin run
        for (int i = 0; i < 3; ++i) {
            AutoCloseContainerTick(engine, 5, 5);
            EXPECT_FALSE(engine.vault.empty());
            EXPECT_EQ(engine.ContainerPath, u"/tmp/a.vlt");
        }
    }
    AutoCloseContainerTick(engine, 5, 5);  // the first tick after it
    EXPECT_TRUE(engine.vault.empty());
    EXPECT_EQ(engine.ContainerPath, u"");
    EXPECT_EQ(desktop.status[2], u"Container automatically closed (timeout)");
    EXPECT_TRUE(desktop.unexpected.empty());  // closed without asking

    // Without a container only the count restarts; with the setting off nothing closes.
    desktop.status[2] = u"";
    for (int i = 0; i < 4; ++i) {
        AutoCloseContainerTick(engine, 5, 5);
    }
    EXPECT_EQ(desktop.status[2], u"");
    openContainer();
    engine.settings.Main.AutoCloseContainer = 0;
    for (int i = 0; i < 10; ++i) {
        AutoCloseContainerTick(engine, 5, 5);
    }
    EXPECT_FALSE(engine.vault.empty());
}

}  // namespace
}  // namespace vlt
