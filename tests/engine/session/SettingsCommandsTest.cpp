#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "ScriptedDesktop.h"
#include "TempDir.h"
#include "engine/session/ExitSequence.h"
#include "engine/session/Help.h"
#include "engine/session/SettingsCommands.h"
#include "engine/settings/ConfigFile.h"
#include "engine/settings/IniFile.h"
#include "engine/vault/Engine.h"

namespace vlt {
namespace {

struct SettingsCommands : ::testing::Test {
    test::TempDir dir;
    test::ScriptedDesktop desktop;
    Engine engine{desktop};

    void SetUp() override {
        engine.settings = FactorySettings();
        engine.ConfigPath = dir.file("Config.ini");
        engine.Recent = RecentFiles(dir.file("Recent.ini"));
    }
    void TearDown() override {
        EXPECT_TRUE(desktop.unexpected.empty()) << desktop.unexpected.front();
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir.file(name)); }
};

TEST_F(SettingsCommands, ApplyWritesExactlyTheMainGroupAndKeepsTheOtherGroupsAndTheWindowPlace) {
    test::writeFile(engine.ConfigPath,
                    "[Window]\r\nMainWinX = 17\r\n[Columns]\r\nShowColURLs = 0\r\n; mine\r\n");
    engine.settings.Main.MainWinX = 40;
    MainSettings edited = engine.settings.Main;
    edited.DrawGrid = 1;
    edited.AutoClearClipSecs = 25;
    edited.MainWinX = 999;  // not the window's to change
    edited.AlwaysOnTop = 1;

    EXPECT_EQ(ApplyMainSettings(engine, edited), 1);
    EXPECT_EQ(engine.settings.Main.DrawGrid, 1);
    EXPECT_EQ(engine.settings.Main.AutoClearClipSecs, 25);
    EXPECT_EQ(engine.settings.Main.MainWinX, 40);
    EXPECT_EQ(engine.settings.Main.AlwaysOnTop, 0);

    IniFile ini;
    ASSERT_TRUE(ini.load(engine.ConfigPath));
    EXPECT_EQ(ini.readNumber(u"MainSettings", u"DrawGrid", 0), 1);
    EXPECT_EQ(ini.readNumber(u"MainSettings", u"AutoClearClipSecs", 0), 25);
    // Untouched: the other groups, unknown lines and the stored window place.
    EXPECT_EQ(ini.readNumber(u"Window", u"MainWinX", 0), 17);
    EXPECT_EQ(ini.entries(u"Window").size(), 1u);
    EXPECT_NE(test::readFile(engine.ConfigPath).find("; mine\r\n"), std::string::npos);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SettingsCommands, ApplyWithRecentsOffForgetsTheListAndAnUnwritableFileIsReported) {
    engine.Recent.paths = {u"/a.vlt"};
    test::writeFile(engine.Recent.recentPath(), "[RecentFiles]\r\nFile0 = /a.vlt\r\n");
    std::filesystem::create_directory(engine.ConfigPath);  // cannot be written as a file
    MainSettings edited = engine.settings.Main;
    edited.Recents = 0;
    edited.Autosave = 1;

    EXPECT_EQ(ApplyMainSettings(engine, edited), 0);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, u"The settings file could not be updated.");
    EXPECT_EQ(engine.settings.Main.Autosave, 1);  // kept in memory all the same
    EXPECT_TRUE(engine.Recent.paths.empty());
    EXPECT_FALSE(exists("Recent.ini"));
    EXPECT_EQ(desktop.menuRebuilds, 1);
}

TEST_F(SettingsCommands, DefaultsRemoveTheFilesAndTheExitThenStoresNothingUntilAnApply) {
    ASSERT_TRUE(WriteFactoryConfig(engine.ConfigPath, engine.writer));
    test::writeFile(engine.Recent.recentPath(), "[RecentFiles]\r\n");
    engine.settings.Main.DrawGrid = 1;

    desktop.yesNoAnswers = {false};
    EXPECT_FALSE(ResetSettingsFiles(engine, false));
    EXPECT_TRUE(exists("Config.ini"));

    desktop.yesNoAnswers = {true};
    EXPECT_TRUE(ResetSettingsFiles(engine, false));
    EXPECT_FALSE(exists("Config.ini"));
    EXPECT_FALSE(exists("Recent.ini"));
    EXPECT_EQ(desktop.messages.back().caption, u"OK");
    EXPECT_EQ(engine.settings.Main.DrawGrid, 1);  // the running program keeps its settings

    desktop.yesNoAnswers = {};
    ConfirmExit(engine);
    EXPECT_FALSE(exists("Config.ini"));

    // An Apply in between writes the main group again, and the exit its groups after it.
    ApplyMainSettings(engine, engine.settings.Main);
    ConfirmExit(engine);
    IniFile ini;
    ASSERT_TRUE(ini.load(engine.ConfigPath));
    EXPECT_EQ(ini.readNumber(u"MainSettings", u"DrawGrid", 0), 1);
    EXPECT_FALSE(ini.entries(u"Window").empty());
}

TEST_F(SettingsCommands, PortableDefaultsRewriteTheFactoryFileSoThatTheInstallationStaysPortable) {
    test::writeFile(engine.ConfigPath,
                    "[MainSettings]\r\nDrawGrid = 1\r\n[Window]\r\nMainWinW = 9\r\n");
    engine.settings.Main.DrawGrid = 1;
    desktop.yesNoAnswers = {true};
    EXPECT_TRUE(ResetSettingsFiles(engine, true));
    ConfirmExit(engine);

    Settings read;
    ASSERT_EQ(ReadConfig(read, desktop, engine.ConfigPath, engine.writer), kConfigRead);
    const Settings factory = FactorySettings();
    EXPECT_EQ(read.Main.DrawGrid, 0);
    EXPECT_EQ(read.Main.MainWinW, factory.Main.MainWinW);
    EXPECT_EQ(read.Main.CommentBKColor, factory.Main.CommentBKColor);

    // A settings file that cannot be erased is reported and the window stays open.
    std::filesystem::remove(engine.ConfigPath);
    std::filesystem::create_directory(engine.ConfigPath);
    test::writeFile(dir.file("Config.ini/keep"), "x");
    desktop.yesNoAnswers = {true};
    EXPECT_FALSE(ResetSettingsFiles(engine, false));
    EXPECT_EQ(desktop.messages.back().text, u"Could not erase the settings file.");
}

TEST(Help, PagesAreFoundBesideTheProgramThenInTheWorkingFolderAndNowhereElse) {
    test::TempDir dir;
    test::ScriptedDesktop desktop;
    Engine engine{desktop};
    const std::string program = dir.file("my programs") + "/";
    std::filesystem::create_directories(program + "help");
    test::writeFile(program + "help/Introduction.html", "<p>intro</p>");
    test::writeFile(program + "help/Entries.html", "<p>entries</p>");

    EXPECT_EQ(RunHelp(engine, u"Entries.html", program), 1);
    EXPECT_EQ(RunHelp(engine, u"", program), 1);  // the default page
    EXPECT_EQ(desktop.openedHelpPages,
              (std::vector<std::string>{program + "help/Entries.html",
                                        program + "help/Introduction.html"}));
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.openedUrls.empty());  // never as a link

    // Started elsewhere, the working folder's help is found when the program has none.
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(program);
    EXPECT_EQ(FindHelpPage(u"Entries.html", dir.file("none/")), program + "help/Entries.html");
    // A missing page, and a topic that tries to leave the help folder, are no pages.
    for (const char16_t* topic : {u"SavingLoading.html", u"../help/Entries.html", u".."}) {
        RunHelp(engine, topic, dir.file("none/"));
    }
    std::filesystem::current_path(old);
    EXPECT_EQ(desktop.openedHelpPages.size(), 2u);
    ASSERT_EQ(desktop.messages.size(), 3u);
    EXPECT_EQ(desktop.messages[0].text,
              u"There was an error launching the Help file (VLT.chm). It is possible that it "
              u"isn't correctly installed.");
}

}  // namespace
}  // namespace vlt
