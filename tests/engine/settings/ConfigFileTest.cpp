#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "Fifo.h"
#include "ScriptedDesktop.h"
#include "TempDir.h"
#include "engine/settings/ConfigFile.h"

namespace vlt {
namespace {

const FileWriter writer;

// The file a first start writes, as WriteFactoryConfig makes it.
const std::string& factoryFile() {
    static const std::string text = [] {
        test::TempDir dir;
        EXPECT_TRUE(WriteFactoryConfig(dir.file("Config.ini"), writer));
        return test::readFile(dir.file("Config.ini"));
    }();
    return text;
}

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

TEST(ConfigFile, TheFactoryFileHoldsEveryGroupInOrderAndTheSafeDefaults) {
    const std::string& text = factoryFile();
    EXPECT_TRUE(text.starts_with("\xEF\xBB\xBF\r\n[MainSettings]\r\nCloseSendTray = 0\r\n"));
    std::size_t at = 0;
    for (const char* group : {"[Window]", "[MaskFields]", "[Columns]", "[SearchOptions]"}) {
        at = text.find(std::string("\r\n") + group + "\r\n", at);
        ASSERT_NE(at, std::string::npos) << group;
    }
    EXPECT_TRUE(text.ends_with("\r\nSearchExpired = 1\r\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '='), 71);
    // Out of the box the clipboard is cleared, a save backs up first, exiting asks, and
    // passwords and user names are masked.
    for (const char* line : {"AutoClearClip = 1", "AutoClearClipSecs = 10", "ClearClipAtExit = 1",
                             "AutoBackupBeforeMod = 1", "AskQuit = 1", "UserNames = 1",
                             "Passwords = 1", "MainWinW = 685", "CommentBKColor = 16777215"}) {
        EXPECT_NE(text.find(std::string("\r\n") + line + "\r\n"), std::string::npos) << line;
    }
}

TEST(ConfigFile, AMissingFileIsRecreatedWithFactoryValuesAndOneMessage) {
    test::TempDir dir;
    test::ScriptedDesktop desktop;
    Settings settings = scribbled();
    EXPECT_EQ(ReadConfig(settings, desktop, dir.file("Config.ini"), writer), kConfigRecreated);
    EXPECT_EQ(test::readFile(dir.file("Config.ini")), factoryFile());
    EXPECT_EQ(writtenOut(settings), factoryFile());
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
    EXPECT_EQ(writtenOut(again), factoryFile());
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
    std::string expected = factoryFile();
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
    EXPECT_EQ(writtenOut(s), factoryFile());
}

TEST(ConfigFile, AFolderInThePlaceOfTheFileIsNeitherReadNorReplaced) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("Config.ini"));
    test::ScriptedDesktop desktop;
    Settings s = scribbled();
    EXPECT_EQ(ReadConfig(s, desktop, dir.file("Config.ini"), writer), kConfigNotCreated);
    EXPECT_EQ(desktop.lastMessage()->caption, u"Warning!");
    EXPECT_EQ(writtenOut(s), factoryFile());
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("Config.ini")));
    EXPECT_FALSE(WriteMainSettings(s, dir.file("Config.ini"), writer));
    EXPECT_FALSE(WriteExitSettings(s, dir.file("Config.ini"), writer));
}

// A FIFO where the file belongs would block a real open for good: start-up must take it as an
// unreadable file and replace it, and Apply and the exit must refuse it, all without opening it.
TEST(ConfigFile, AFifoInThePlaceOfTheFileIsReplacedAtStartAndNeverOpened) {
    test::TempDir dir;
    test::Fifo fifo(dir.file("Config.ini"));
    test::ScriptedDesktop desktop;
    Settings s = scribbled();
    EXPECT_EQ(ReadConfig(s, desktop, fifo.path(), writer), kConfigRecreated);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, u"Information");
    EXPECT_EQ(desktop.messages[0].text, kRecreatedText);
    EXPECT_EQ(writtenOut(s), factoryFile());
    EXPECT_TRUE(std::filesystem::is_regular_file(fifo.path()));
    EXPECT_EQ(test::readFile(fifo.path()), factoryFile());
    EXPECT_EQ(std::filesystem::status(fifo.path()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    // A FIFO that took the file's place while the program ran is left alone.
    test::Fifo later(dir.file("Later.ini"));
    EXPECT_FALSE(WriteMainSettings(s, later.path(), writer));
    EXPECT_FALSE(WriteExitSettings(s, later.path(), writer));
    EXPECT_TRUE(std::filesystem::is_fifo(later.path()));
    EXPECT_FALSE(fifo.blocked());
    EXPECT_FALSE(later.blocked());
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
    std::string factoryMain = factoryFile().substr(0, factoryFile().find("[Window]"));
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
    std::string expected = factoryFile();
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
    EXPECT_EQ(test::readFile(dir.file("Config.ini")), factoryFile());
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

// The settings file is the program's own: a link at its name (to another user's file, say) is
// replaced by an owner-only file of its own, and the file it points to is never written.
TEST(ConfigFile, ALinkAtTheNameIsReplacedNeverWrittenThrough) {
    test::TempDir dir;
    const std::string other = dir.file("other.ini");
    const std::string otherText = "[Someone]\r\nElse = 1\r\n";
    const std::string config = dir.file("Config.ini");
    Settings settings = FactorySettings();
    settings.Main.CloseSendTray = 1;
    for (const bool exit : {true, false}) {
        SCOPED_TRACE(exit ? "exit" : "apply");
        test::writeFile(other, otherText);
        std::filesystem::remove(config);
        std::filesystem::create_symlink(other, config);
        ASSERT_TRUE(exit ? WriteExitSettings(settings, config, writer)
                         : WriteMainSettings(settings, config, writer));
        EXPECT_EQ(test::readFile(other), otherText);
        EXPECT_FALSE(std::filesystem::is_symlink(config));
        EXPECT_EQ(test::statOf(config).st_mode & 07777, 0600u);
    }
    test::ScriptedDesktop desktop;
    Settings read;
    ASSERT_EQ(ReadConfig(read, desktop, config, writer), kConfigRead);
    EXPECT_EQ(read.Main.CloseSendTray, 1);
}

// No settings file comes near 1 MiB. A larger one is unreadable, refused at once without being
// read (so a huge one neither delays the start nor fills memory), and recreated like any other
// unreadable file.
TEST(ConfigFile, AFileLargerThanOneMebibyteIsUnreadableAndRecreated) {
    test::TempDir dir;
    const std::string config = dir.file("Config.ini");
    std::string text = "[MainSettings]\r\nCloseSendTray = 1\r\n";
    text += ';';
    text.append((std::size_t{1} << 20) - text.size(), '-');
    ASSERT_EQ(text.size(), std::size_t{1} << 20);
    for (const bool larger : {false, true}) {
        SCOPED_TRACE(larger ? "1 MiB + 1" : "1 MiB");
        test::writeFile(config, larger ? text + "-" : text);
        test::ScriptedDesktop desktop;
        Settings read;
        EXPECT_EQ(ReadConfig(read, desktop, config, writer),
                  larger ? kConfigRecreated : kConfigRead);
        EXPECT_EQ(read.Main.CloseSendTray, larger ? 0 : 1);
        EXPECT_EQ(desktop.messageTexts().size(), larger ? 1u : 0u);
    }
    EXPECT_TRUE(test::readFile(config) == factoryFile());  // compared, not printed

    const int fd = ::open(config.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t{2} << 30), 0);  // 2 GiB, taking no disk space
    ::close(fd);
    test::ScriptedDesktop desktop;
    Settings read;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadConfig(read, desktop, config, writer), kConfigRecreated);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_TRUE(desktop.messageTexts() == std::vector<std::u16string>{kRecreatedText});
    EXPECT_TRUE(test::readFile(config) == factoryFile());  // compared, not printed
}

}  // namespace
}  // namespace vlt
