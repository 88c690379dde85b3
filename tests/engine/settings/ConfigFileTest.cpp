#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "ScriptedDesktop.h"
#include "TempDir.h"
#include "engine/settings/ConfigFile.h"

namespace vlt {
namespace {

const FileWriter writer;

// Written out by hand from the table of settings: every group and key in file order with its
// factory value.
const std::string kFactoryFile =
    "\xEF\xBB\xBF\r\n"
    "[MainSettings]\r\n"
    "CloseSendTray = 0\r\n"
    "MinSendTray = 0\r\n"
    "LogActions = 0\r\n"
    "MinClipCopy = 0\r\n"
    "Recents = 1\r\n"
    "Autosave = 0\r\n"
    "AutoresizeColumns = 0\r\n"
    "EnableEntryBKColor = 0\r\n"
    "EntryBKColor = 16777215\r\n"
    "EnableGroupBKColor = 0\r\n"
    "GroupBKColor = 16777215\r\n"
    "EnableGroupFGColor = 0\r\n"
    "GroupFGColor = 0\r\n"
    "EnableCommentBKColor = 0\r\n"
    "CommentBKColor = 16777215\r\n"
    "EnableCommentFGColor = 0\r\n"
    "CommentFGColor = 0\r\n"
    "DrawGrid = 0\r\n"
    "RememberWinPos = 1\r\n"
    "AssociateVLT = 1\r\n"
    "EnableBossKey = 1\r\n"
    "BossKey1 = 0\r\n"
    "BossKey2 = 0\r\n"
    "Autostart = 0\r\n"
    "AutoCloseContainer = 0\r\n"
    "AutoCloseSecs = 60\r\n"
    "AutoClearClip = 1\r\n"
    "AutoClearClipSecs = 10\r\n"
    "NewlyAddedExpireIn = 1\r\n"
    "NewlyAddedExpireDays = 365\r\n"
    "ClearClipAtExit = 1\r\n"
    "AutoBackupBeforeMod = 1\r\n"
    "AskQuit = 1\r\n"
    "[Window]\r\n"
    "MainWinX = -1\r\n"
    "MainWinY = -1\r\n"
    "MainWinW = 685\r\n"
    "MainWinH = 450\r\n"
    "Splitter1 = 160\r\n"
    "Splitter2 = 280\r\n"
    "AlwaysOnTop = 0\r\n"
    "[MaskFields]\r\n"
    "Accounts = 0\r\n"
    "UserNames = 1\r\n"
    "Passwords = 1\r\n"
    "URLs = 0\r\n"
    "[Columns]\r\n"
    "ShowColAccounts = 1\r\n"
    "AccountsColSize = 120\r\n"
    "ShowColUserNames = 1\r\n"
    "UserNamesColSize = 120\r\n"
    "ShowColPasswords = 1\r\n"
    "PasswordsColSize = 120\r\n"
    "ShowColURLs = 1\r\n"
    "URLsColSize = 120\r\n"
    "ShowColAttachments = 1\r\n"
    "AttachmentsColSize = 120\r\n"
    "ShowColCreationDates = 1\r\n"
    "CreationDatesColSize = 120\r\n"
    "ShowColAccessDates = 1\r\n"
    "AccessDatesColSize = 120\r\n"
    "ShowColModificationDates = 1\r\n"
    "ModificationDatesColSize = 120\r\n"
    "ShowColExpirationDates = 1\r\n"
    "ExpirationDatesColSize = 120\r\n"
    "[SearchOptions]\r\n"
    "SearchText = \r\n"
    "SearchAccounts = 1\r\n"
    "SearchUsers = 1\r\n"
    "SearchPassword = 1\r\n"
    "SearchURLs = 1\r\n"
    "SearchAttachments = 1\r\n"
    "SearchComments = 1\r\n"
    "CaseSensitive = 0\r\n"
    "SearchExpired = 1\r\n";

const std::u16string kRecreatedText =
    u"The configuration file could not be read. All the settings were reset to their factory "
    u"defaults. You can always change them from the 'File -> Program configuration' menu.";

// Every value set to something no default has, so that a key left unread shows.
Settings scribbled() {
    Settings s;
    s.Main = {7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7,
              7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7};
    s.Mask = {7, 7, 7, 7};
    s.Columns.fill({7, 7});
    s.Search = {u"left over", 7, 7, 7, 7, 7, 7, 7, 7};
    return s;
}

// Every value of `s`, written out as a settings file of its own.
std::string writtenOut(const Settings& s) {
    test::TempDir dir;
    EXPECT_TRUE(WriteMainSettings(s, dir.file("Written.ini"), writer));
    EXPECT_TRUE(WriteExitSettings(s, dir.file("Written.ini"), writer));
    return test::readFile(dir.file("Written.ini"));
}

ino_t inodeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(ConfigFile, AMissingFileIsRecreatedWithFactoryValuesAndOneMessage) {
    test::TempDir dir;
    test::ScriptedDesktop desktop;
    Settings settings = scribbled();
    EXPECT_EQ(ReadConfig(settings, desktop, dir.file("Config.ini"), writer), kConfigRecreated);
    EXPECT_EQ(test::readFile(dir.file("Config.ini")), kFactoryFile);
    EXPECT_EQ(writtenOut(settings), kFactoryFile);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, u"Information");
    EXPECT_EQ(desktop.messages[0].text, kRecreatedText);
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Information);
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("Config.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // The next start reads it quietly.
    Settings again = scribbled();
    EXPECT_EQ(ReadConfig(again, desktop, dir.file("Config.ini"), writer), kConfigRead);
    EXPECT_EQ(writtenOut(again), kFactoryFile);
    EXPECT_EQ(desktop.messages.size(), 1u);
}

TEST(ConfigFile, AnEmptyFileGivesEveryMissingDefault) {
    test::TempDir dir;
    test::writeFile(dir.file("Config.ini"), "");
    test::ScriptedDesktop desktop;
    Settings s = scribbled();
    EXPECT_EQ(ReadConfig(s, desktop, dir.file("Config.ini"), writer), kConfigRead);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(test::readFile(dir.file("Config.ini")), "");

    // Every value read, written out again: the factory file but for the one key whose missing
    // value differs from its factory one.
    std::string expected = kFactoryFile;
    expected.replace(expected.find("CommentBKColor = 16777215"), 25, "CommentBKColor = 0");
    EXPECT_EQ(writtenOut(s), expected);
}

TEST(ConfigFile, HandWrittenValuesAndNamesInAnyCaseAreRead) {
    test::TempDir dir;
    test::writeFile(dir.file("Config.ini"),
                    "[mainsettings]\nautoclosesecs = $1F\nBossKey2 =\t 7 \n"
                    "[WINDOW]\nMainWinX = -5\n[SearchOptions]\nsearchtext =  two words \t\n");
    test::ScriptedDesktop desktop;
    Settings s;
    ASSERT_EQ(ReadConfig(s, desktop, dir.file("Config.ini"), writer), kConfigRead);
    EXPECT_EQ(s.Main.AutoCloseSecs, 31);  // the numbers' forms are IniNumber's
    EXPECT_EQ(s.Main.BossKey2, 7);
    EXPECT_EQ(s.Main.MainWinX, -5);
    EXPECT_EQ(s.Main.MainWinW, 685);
    EXPECT_EQ(s.Search.SearchText, u"two words");
}

TEST(ConfigFile, AnUncreatableFileWarnsAndKeepsFactoryValues) {
    test::TempDir dir;
    test::ScriptedDesktop desktop;
    Settings s = scribbled();
    EXPECT_EQ(ReadConfig(s, desktop, dir.file("no-such-folder/Config.ini"), writer),
              kConfigNotCreated);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, u"Warning!");
    EXPECT_EQ(desktop.messages[0].text,
              u"The settings file could not be created. Any change you make in the settings "
              u"dialog may not be remembered.");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(writtenOut(s), kFactoryFile);
}

TEST(ConfigFile, AFolderInThePlaceOfTheFileIsNeitherReadNorReplaced) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("Config.ini"));
    test::ScriptedDesktop desktop;
    Settings s = scribbled();
    EXPECT_EQ(ReadConfig(s, desktop, dir.file("Config.ini"), writer), kConfigNotCreated);
    EXPECT_EQ(desktop.lastMessage()->caption, u"Warning!");
    EXPECT_EQ(writtenOut(s), kFactoryFile);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("Config.ini")));
    EXPECT_FALSE(WriteMainSettings(s, dir.file("Config.ini"), writer));
    EXPECT_FALSE(WriteExitSettings(s, dir.file("Config.ini"), writer));
}

TEST(ConfigFile, ApplyWritesOnlyTheMainGroupAndCreatesAMissingFile) {
    test::TempDir dir;
    Settings s = FactorySettings();
    s.Main.LogActions = 1;
    s.Main.AutoCloseSecs = 300;
    s.Main.AskQuit = 0;
    s.Main.MainWinW = 999;  // a Window value: not Apply's to write
    ASSERT_TRUE(WriteMainSettings(s, dir.file("Config.ini"), writer));
    std::string text = test::readFile(dir.file("Config.ini"));
    std::string factoryMain = kFactoryFile.substr(0, kFactoryFile.find("[Window]"));
    std::string expected = factoryMain;
    expected.replace(expected.find("LogActions = 0"), 14, "LogActions = 1");
    expected.replace(expected.find("AutoCloseSecs = 60"), 18, "AutoCloseSecs = 300");
    expected.replace(expected.find("AskQuit = 1"), 11, "AskQuit = 0");
    EXPECT_EQ(text, expected);

    test::ScriptedDesktop desktop;
    Settings back;
    ASSERT_EQ(ReadConfig(back, desktop, dir.file("Config.ini"), writer), kConfigRead);
    EXPECT_EQ(back.Main.LogActions, 1);
    EXPECT_EQ(back.Main.AutoCloseSecs, 300);
    EXPECT_EQ(back.Main.AskQuit, 0);
    EXPECT_EQ(back.Main.MainWinW, 685);
}

TEST(ConfigFile, ApplyRewritesTheMainGroupInPlaceAndKeepsTheRest) {
    test::TempDir dir;
    test::ScriptedDesktop desktop;
    Settings s;
    ReadConfig(s, desktop, dir.file("Config.ini"), writer);
    s.Main.DrawGrid = 1;
    ASSERT_TRUE(WriteMainSettings(s, dir.file("Config.ini"), writer));
    std::string expected = kFactoryFile;
    expected.replace(expected.find("DrawGrid = 0"), 12, "DrawGrid = 1");
    EXPECT_EQ(test::readFile(dir.file("Config.ini")), expected);
}

TEST(ConfigFile, ExitWritesTheViewStateButNotTheMainGroup) {
    test::TempDir dir;
    test::ScriptedDesktop desktop;
    Settings s;
    ReadConfig(s, desktop, dir.file("Config.ini"), writer);
    s.Main.LogActions = 1;  // only Apply writes this
    s.Main.MainWinX = 40;
    s.Main.MainWinH = 600;
    s.Main.AlwaysOnTop = 1;
    s.Mask.URLs = 1;
    s.Columns[kColAttachments] = {0, 88};
    s.Search.SearchText = u"bank";
    s.Search.CaseSensitive = 1;
    ASSERT_TRUE(WriteExitSettings(s, dir.file("Config.ini"), writer));

    Settings back;
    ASSERT_EQ(ReadConfig(back, desktop, dir.file("Config.ini"), writer), kConfigRead);
    EXPECT_EQ(back.Main.LogActions, 0);
    EXPECT_EQ(back.Main.MainWinX, 40);
    EXPECT_EQ(back.Main.MainWinH, 600);
    EXPECT_EQ(back.Main.AlwaysOnTop, 1);
    EXPECT_EQ(back.Mask.URLs, 1);
    EXPECT_EQ(back.Columns[kColAttachments].Show, 0);
    EXPECT_EQ(back.Columns[kColAttachments].Size, 88);
    EXPECT_EQ(back.Search.SearchText, u"bank");
    EXPECT_EQ(back.Search.CaseSensitive, 1);
}

TEST(ConfigFile, AMinimisedWindowKeepsItsStoredGeometryButStillWritesAlwaysOnTop) {
    test::TempDir dir;
    test::ScriptedDesktop desktop;
    Settings s;
    ReadConfig(s, desktop, dir.file("Config.ini"), writer);
    s.Main.MainWinX = -32000;
    s.Main.MainWinW = 160;
    s.Main.Splitter1 = 0;
    s.Main.AlwaysOnTop = 1;
    ASSERT_TRUE(WriteExitSettings(s, dir.file("Config.ini"), writer, false));
    Settings back;
    ReadConfig(back, desktop, dir.file("Config.ini"), writer);
    EXPECT_EQ(back.Main.MainWinX, -1);
    EXPECT_EQ(back.Main.MainWinW, 685);
    EXPECT_EQ(back.Main.Splitter1, 160);
    EXPECT_EQ(back.Main.AlwaysOnTop, 1);
}

TEST(ConfigFile, ExitNeverCreatesADeletedFile) {
    test::TempDir dir;
    EXPECT_FALSE(WriteExitSettings(FactorySettings(), dir.file("Config.ini"), writer));
    EXPECT_FALSE(std::filesystem::exists(dir.file("Config.ini")));
}

TEST(ConfigFile, WritingUnchangedSettingsLeavesTheFileUntouched) {
    test::TempDir dir;
    test::ScriptedDesktop desktop;
    Settings s;
    ReadConfig(s, desktop, dir.file("Config.ini"), writer);
    ino_t before = inodeOf(dir.file("Config.ini"));
    ASSERT_NE(before, 0u);
    ASSERT_TRUE(WriteExitSettings(s, dir.file("Config.ini"), writer));
    ASSERT_TRUE(WriteMainSettings(s, dir.file("Config.ini"), writer));
    EXPECT_EQ(inodeOf(dir.file("Config.ini")), before);
    EXPECT_EQ(test::readFile(dir.file("Config.ini")), kFactoryFile);
}

TEST(ConfigFile, ASearchTextWithLineBreaksStaysOnItsLine) {
    test::TempDir dir;
    test::ScriptedDesktop desktop;
    Settings s;
    ReadConfig(s, desktop, dir.file("Config.ini"), writer);
    s.Search.SearchText = u"first\r\n[MainSettings]\nRecents = 0";
    ASSERT_TRUE(WriteExitSettings(s, dir.file("Config.ini"), writer));
    Settings back;
    ReadConfig(back, desktop, dir.file("Config.ini"), writer);
    EXPECT_EQ(back.Search.SearchText, u"first  [MainSettings] Recents = 0");
    EXPECT_EQ(back.Main.Recents, 1);
    EXPECT_EQ(back.Search.SearchExpired, 1);
}

}  // namespace
}  // namespace vlt
