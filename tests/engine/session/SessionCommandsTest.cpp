#include <gtest/gtest.h>

#include <filesystem>

#include "RawContainer.h"
#include "SampleVault.h"
#include "ScriptedDesktop.h"
#include "TempDir.h"
#include "common/Utf.h"
#include "engine/session/PasswordChange.h"
#include "engine/session/RecentFileCommands.h"
#include "engine/vault/Engine.h"

namespace vlt {
namespace {

struct SessionCommands : ::testing::Test {
    test::TempDir dir;
    test::ScriptedDesktop desktop;
    Engine engine{desktop};

    void SetUp() override {
        engine.settings.Main.Recents = 1;
        engine.Recent = RecentFiles(dir.file("Recent.ini"));
    }
    void TearDown() override {
        EXPECT_TRUE(desktop.unexpected.empty()) << desktop.unexpected.front();
    }
};

TEST_F(SessionCommands, ARecentFileOpensOnlyWhileItIsStillAFile) {
    test::RawContainer raw;
    raw.addVault(test::SampleVault({}));
    test::writeFile(dir.file("kept.vlt"), raw.text());
    std::filesystem::create_directory(dir.file("now a folder.vlt"));
    engine.Recent.paths = {fromUtf8(dir.file("gone.vlt")), fromUtf8(dir.file("now a folder.vlt")),
                           fromUtf8(dir.file("kept.vlt"))};

    for (int index : {0, 1}) {
        EXPECT_EQ(OpenRecentFile(engine, index), 0) << index;
        EXPECT_TRUE(desktop.lastMessage()->text ==
                    u"The file no longer exists at the known location, loading aborted.");
        EXPECT_EQ(desktop.lastMessage()->icon, MessageIcon::Warning);
    }
    EXPECT_EQ(OpenRecentFile(engine, 3), 0);  // past the list: nothing at all
    EXPECT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(engine.Recent.paths.size(), 3u);
    EXPECT_TRUE(desktop.passwordModes.empty());

    desktop.passwordAnswers.push_back(u"abc");
    EXPECT_EQ(OpenRecentFile(engine, 2), 1);
    EXPECT_TRUE(engine.ContainerPath == fromUtf8(dir.file("kept.vlt")));

    const int menus = desktop.menuRebuilds;
    ClearRecentFiles(engine);
    EXPECT_TRUE(engine.Recent.paths.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("Recent.ini")));
    EXPECT_EQ(desktop.menuRebuilds, menus + 1);
}

TEST_F(SessionCommands, ANewPasswordIsKeptForTheNextSaveOnlyWhenGiven) {
    EXPECT_EQ(ChangePassword(engine), 0);
    EXPECT_TRUE(desktop.lastMessage()->text ==
                u"The password can't be changed at the moment (no open container).");
    EXPECT_TRUE(desktop.passwordModes.empty());

    engine.ContainerPath = fromUtf8(dir.file("open.vlt"));
    engine.ContainerPassword = SecureText(u"old");
    desktop.passwordAnswers.push_back(u"");
    EXPECT_EQ(ChangePassword(engine), 0);
    EXPECT_TRUE(engine.ContainerPassword.view() == u"old");
    EXPECT_EQ(desktop.messages.size(), 1u);

    desktop.passwordAnswers.push_back(u"new");
    EXPECT_EQ(ChangePassword(engine), 1);
    EXPECT_EQ(desktop.passwordModes, (std::vector<PasswordMode>{kPasswordChange, kPasswordChange}));
    EXPECT_TRUE(engine.ContainerPassword.view() == u"new");
    EXPECT_TRUE(desktop.lastMessage()->text.starts_with(u"The password has been changed"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("open.vlt")));  // nothing is saved here
}

}  // namespace
}  // namespace vlt
