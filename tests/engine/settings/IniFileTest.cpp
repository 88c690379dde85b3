#include <gtest/gtest.h>

#include <sys/stat.h>

#include "TempDir.h"
#include "engine/settings/IniFile.h"

namespace vlt {
namespace {

const FileWriter writer;

ino_t inodeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(IniFile, ReadsGroupsAndKeysWithoutRegardToCase) {
    test::TempDir dir;
    test::writeFile(dir.file("a.ini"),
                    "\xEF\xBB\xBF\r\n[Main]\r\nRecents = 1\r\n  WIDTH\t=\t 685 \t\r\n"
                    "[other]\r\nRecents = 7\r\n");
    IniFile ini;
    ASSERT_TRUE(ini.load(dir.file("a.ini")));
    EXPECT_FALSE(ini.changed());
    EXPECT_EQ(ini.readString(u"main", u"RECENTS", u"x"), u"1");
    EXPECT_EQ(ini.readString(u"MAIN", u"Width"), u"685");
    EXPECT_EQ(ini.readNumber(u"Other", u"recents", 0), 7);
    EXPECT_EQ(ini.readString(u"Main", u"Missing", u"fallback"), u"fallback");
    EXPECT_EQ(ini.readString(u"Nowhere", u"Recents", u"fallback"), u"fallback");
    EXPECT_EQ(ini.readNumber(u"Main", u"Missing", -1), -1);
    EXPECT_EQ((std::vector<std::u16string>{u"Main", u"other"}), ini.groups());
}

TEST(IniFile, ReadsLfFilesWithoutByteOrderMarkAndKeysBeforeTheFirstGroup) {
    test::TempDir dir;
    test::writeFile(dir.file("a.ini"), "Top=1\n[G]\nKey=a=b\nlast = end");
    IniFile ini;
    ASSERT_TRUE(ini.load(dir.file("a.ini")));
    EXPECT_EQ(ini.readString(u"", u"top"), u"1");
    EXPECT_EQ(ini.readString(u"G", u"Top", u"none"), u"none");
    EXPECT_EQ(ini.readString(u"G", u"Key"), u"a=b");
    EXPECT_EQ(ini.readString(u"G", u"last"), u"end");
}

TEST(IniFile, AnEmptyValueReadsAsZeroNotAsTheDefault) {
    test::TempDir dir;
    test::writeFile(dir.file("a.ini"), "[G]\r\nEmpty =\r\n");
    IniFile ini;
    ASSERT_TRUE(ini.load(dir.file("a.ini")));
    EXPECT_EQ(ini.readNumber(u"G", u"Empty", 60), 0);
    EXPECT_EQ(ini.readString(u"G", u"Empty", u"d"), u"");
}

TEST(IniFile, TheFirstGroupAndKeyOfANameCount) {
    test::TempDir dir;
    test::writeFile(dir.file("a.ini"), "[G]\nk = 1\nK = 2\n[g]\nk = 3\nn = 4\n");
    IniFile ini;
    ASSERT_TRUE(ini.load(dir.file("a.ini")));
    EXPECT_EQ(ini.readString(u"G", u"k"), u"1");
    EXPECT_EQ(ini.readString(u"G", u"n", u"none"), u"none");
    ini.writeNumber(u"g", u"K", 9);
    EXPECT_EQ(ini.readString(u"G", u"k"), u"9");
    auto entries = ini.entries(u"G");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].second, u"2");
}

TEST(IniFile, EntriesComeInFileOrderAndSkipOtherLines) {
    test::TempDir dir;
    test::writeFile(dir.file("a.ini"),
                    "[RecentFiles]\r\nB = /second\r\n; note = not a key\r\nno equals sign\r\n"
                    "A = /first\r\n = nameless\r\n[Next]\r\nC = 3\r\n");
    IniFile ini;
    ASSERT_TRUE(ini.load(dir.file("a.ini")));
    auto entries = ini.entries(u"recentfiles");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (std::pair<std::u16string, std::u16string>{u"B", u"/second"}));
    EXPECT_EQ(entries[1], (std::pair<std::u16string, std::u16string>{u"A", u"/first"}));
    EXPECT_TRUE(ini.entries(u"Absent").empty());
}

TEST(IniFile, UnknownLinesSurviveARewriteByteForByte) {
    test::TempDir dir;
    std::string original =
        "; written by hand\r\n[Main]\r\nRecents=1\r\n\xFF\xFE odd bytes\r\n   \t\r\n"
        "Width = 685\r\n\r\n; about the next group\r\n[Other]\r\nx = 1\r\n";
    test::writeFile(dir.file("a.ini"), original);
    IniFile ini;
    ASSERT_TRUE(ini.load(dir.file("a.ini")));
    ini.writeNumber(u"main", u"Width", 700);
    ini.writeNumber(u"Main", u"Height", 450);
    ASSERT_TRUE(ini.save(dir.file("a.ini"), writer));
    EXPECT_EQ(test::readFile(dir.file("a.ini")),
              "; written by hand\r\n[Main]\r\nRecents=1\r\n\xFF\xFE odd bytes\r\n   \t\r\n"
              "Width = 700\r\nHeight = 450\r\n\r\n; about the next group\r\n[Other]\r\nx = 1\r\n");
}

TEST(IniFile, AMissingGroupIsAppendedAndALfFileIsRewrittenWithCrLf) {
    test::TempDir dir;
    test::writeFile(dir.file("a.ini"), "\xEF\xBB\xBF[A]\nk = 1");
    IniFile ini;
    ASSERT_TRUE(ini.load(dir.file("a.ini")));
    ini.writeString(u"B", u"Text", u"hello world");
    ASSERT_TRUE(ini.save(dir.file("a.ini"), writer));
    EXPECT_EQ(test::readFile(dir.file("a.ini")),
              "\xEF\xBB\xBF[A]\r\nk = 1\r\n[B]\r\nText = hello world\r\n");
}

TEST(IniFile, ANewFileStartsWithByteOrderMarkAndEmptyLineAndIsOwnerOnly) {
    test::TempDir dir;
    IniFile ini;
    EXPECT_FALSE(ini.load(dir.file("missing.ini")));
    EXPECT_TRUE(ini.changed());
    ini.writeString(u"RecentFiles", u"File0", u"/home/u/Caf\u00e9.vlt");
    ASSERT_TRUE(ini.save(dir.file("new.ini"), writer));
    EXPECT_FALSE(ini.changed());
    EXPECT_EQ(test::readFile(dir.file("new.ini")),
              "\xEF\xBB\xBF\r\n[RecentFiles]\r\nFile0 = /home/u/Caf\xC3\xA9.vlt\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("new.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(IniFile, LineBreaksInAValueCannotAddLines) {
    test::TempDir dir;
    IniFile ini;
    ini.writeString(u"SearchOptions", u"SearchText", u"a\r\n[Evil]\nInjected = 1\rb");
    ini.writeString(u"SearchOptions", u"After", u"2");
    ASSERT_TRUE(ini.save(dir.file("a.ini"), writer));
    IniFile back;
    ASSERT_TRUE(back.load(dir.file("a.ini")));
    EXPECT_EQ(back.readString(u"SearchOptions", u"SearchText"), u"a  [Evil] Injected = 1 b");
    EXPECT_EQ(back.readString(u"SearchOptions", u"After"), u"2");
    EXPECT_EQ(back.groups(), std::vector<std::u16string>{u"SearchOptions"});
}

TEST(IniFile, WritingTheValuesAlreadyStoredLeavesTheFileAlone) {
    test::TempDir dir;
    std::string path = dir.file("a.ini");
    test::writeFile(path, "[G]\r\nA=5\r\nB = text\r\n");
    ino_t before = inodeOf(path);
    IniFile ini;
    ASSERT_TRUE(ini.load(path));
    ini.writeNumber(u"g", u"a", 5);
    ini.writeString(u"G", u"B", u"text");
    EXPECT_FALSE(ini.changed());
    ASSERT_TRUE(ini.save(path, writer));
    EXPECT_EQ(inodeOf(path), before);
    EXPECT_EQ(test::readFile(path), "[G]\r\nA=5\r\nB = text\r\n");

    ini.writeNumber(u"G", u"A", 6);
    EXPECT_TRUE(ini.changed());
    ASSERT_TRUE(ini.save(path, writer));
    EXPECT_NE(inodeOf(path), before);
    EXPECT_EQ(test::readFile(path), "[G]\r\nA = 6\r\nB = text\r\n");
}

TEST(IniFile, RemovingAGroupTakesEveryBlockOfItsNameAndNothingElse) {
    test::TempDir dir;
    test::writeFile(dir.file("a.ini"),
                    "[Keep]\r\na = 1\r\n[RecentFiles]\r\nFile0 = x\r\n[keep2]\r\nb = 2\r\n"
                    "[recentfiles]\r\nFile1 = y\r\n");
    IniFile ini;
    ASSERT_TRUE(ini.load(dir.file("a.ini")));
    ini.removeGroup(u"Absent");
    EXPECT_FALSE(ini.changed());
    ini.removeGroup(u"RecentFiles");
    EXPECT_TRUE(ini.changed());
    ini.writeString(u"RecentFiles", u"File0", u"z");
    ASSERT_TRUE(ini.save(dir.file("a.ini"), writer));
    EXPECT_EQ(test::readFile(dir.file("a.ini")),
              "[Keep]\r\na = 1\r\n[keep2]\r\nb = 2\r\n[RecentFiles]\r\nFile0 = z\r\n");
}

TEST(IniFile, FoldersAndMissingFilesDoNotLoad) {
    test::TempDir dir;
    IniFile ini;
    EXPECT_FALSE(ini.load(dir.file("missing.ini")));
    EXPECT_FALSE(ini.load(dir.path().string()));
    EXPECT_TRUE(ini.entries(u"").empty());
}

TEST(IniFile, AFailedSaveReportsFailureAndStaysChanged) {
    test::TempDir dir;
    IniFile ini;
    ini.writeNumber(u"G", u"A", 1);
    EXPECT_FALSE(ini.save(dir.file("no-such-folder/a.ini"), writer));
    EXPECT_TRUE(ini.changed());
}

}  // namespace
}  // namespace vlt
