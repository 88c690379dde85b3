// Reading the layouts file: encodings, group IDs, key codes, and the file shipped with the
// keyboard.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "ChildProcess.h"
#include "Fifo.h"
#include "KeyboardLayouts.h"
#include "LayoutChoice.h"
#include "TempDir.h"

namespace tapboard {
namespace {

TEST(LayoutsFile, NumbersReadInEveryBaseAndStopAtTheFirstOtherCharacter) {
    EXPECT_EQ(ReadLayoutNumber("1033"), 1033);
    EXPECT_EQ(ReadLayoutNumber("$409"), 1033);
    EXPECT_EQ(ReadLayoutNumber("$4a9"), 0x4A9);
    EXPECT_EQ(ReadLayoutNumber("%1011"), 11);
    EXPECT_EQ(ReadLayoutNumber(" \t-12x5"), -12);
    EXPECT_EQ(ReadLayoutNumber("+7"), 7);
    EXPECT_EQ(ReadLayoutNumber("%102"), 2);
    EXPECT_EQ(ReadLayoutNumber("abc"), 0);
    EXPECT_EQ(ReadLayoutNumber(""), 0);
    EXPECT_EQ(ReadLayoutNumber("$"), 0);
    EXPECT_EQ(ReadLayoutNumber("4294967297"), 1);  // wraps, never overflows
}

TEST(LayoutsFile, GroupsKeysAndCodesAreReadAsWritten) {
    const auto layouts = ParseKeyboardLayouts(
        "; a comment\r\n"
        "Button14=77\r\n"  // before any group: ignored
        "[$409]\r\n"
        "  LayoutName =  English (US) \r\n"
        "Button14=49 ; the 1 key\r\n"
        "BUTTON15=$31\n"
        "\tbutton16 = 305\n"
        "Button17=\n"
        "Button014=66\n"
        "Button79=66\n"
        "Button78=32\n"
        "Button78=64\n"
        "Button0=;Esc\n"
        "not a key\n"
        "[1031 German]\n"
        "Button13=-1\n"
        "[1033]\n"
        "LayoutName=Second\n"
        "[nothing]\n");
    ASSERT_EQ(layouts.size(), 4u);
    const KeyboardLayout& us = layouts[0];
    EXPECT_EQ(us.ID, 1033);
    EXPECT_EQ(us.LayoutName, "English (US) ");
    EXPECT_EQ(us.Button[14], 49);
    EXPECT_EQ(us.Button[15], 49);
    EXPECT_EQ(us.Button[16], 49);  // low 8 bits of 305
    EXPECT_EQ(us.Button[17], 0);
    EXPECT_EQ(us.Button[78], 32);  // the first of two equal keys
    EXPECT_EQ(us.Button[0], 0);
    // Button014 names no key; nothing else in the group was set.
    for (int n : {1, 2, 13, 18, 77}) {
        EXPECT_EQ(us.Button[static_cast<std::size_t>(n)], 0) << n;
    }
    EXPECT_EQ(layouts[1].ID, 1031);
    EXPECT_EQ(layouts[1].Button[13], 0xFF);
    EXPECT_EQ(layouts[2].ID, 1033);
    EXPECT_EQ(layouts[3].ID, 0);

    // Two groups with one ID: the first is chosen.
    LayoutChoice choice(layouts);
    bool missing = true;
    EXPECT_EQ(choice.choose(1033, missing).LayoutName, "English (US) ");
    EXPECT_FALSE(missing);
}

TEST(LayoutsFile, NamesAreUtf8AfterAByteOrderMarkAndLatin1Otherwise) {
    const auto utf8 = ParseKeyboardLayouts("\xEF\xBB\xBF[1031]\nLayoutName=Deutsch \xC3\xBC\n");
    const auto latin1 = ParseKeyboardLayouts("[1031]\nLayoutName=Deutsch \xFC\n");
    ASSERT_EQ(utf8.size(), 1u);
    ASSERT_EQ(latin1.size(), 1u);
    EXPECT_EQ(utf8[0].ID, 1031);
    EXPECT_EQ(utf8[0].LayoutName, "Deutsch \xC3\xBC");
    EXPECT_EQ(latin1[0].LayoutName, "Deutsch \xC3\xBC");
}

TEST(LayoutsFile, MissingOrEmptyFilesAreRefused) {
    EXPECT_FALSE(LoadKeyboardLayouts("/nonexistent/KBLayouts.ini"));
    const std::string path = testing::TempDir() + "KBLayoutsEmpty.ini";
    {
        std::ofstream out(path, std::ios::binary);
        out << "; only a comment\nLayoutName=x\n";
    }
    EXPECT_FALSE(LoadKeyboardLayouts(path));
    std::remove(path.c_str());
}

// The keyboard reads the file before its window opens: whatever stands in its place must neither
// hang that (a FIFO) nor fill the memory (a link to /dev/zero).
TEST(LayoutsFile, OnlyASmallRegularFileIsRead) {
    vlt::test::TempDir dir;
    vlt::test::Fifo fifo(dir.file("fifo.ini"));
    const std::string zero = dir.file("zero.ini");
    ASSERT_EQ(::symlink("/dev/zero", zero.c_str()), 0);
    const std::string large = dir.file("large.ini");
    vlt::test::writeFile(large, "[1033]\nLayoutName=English (US)\n");
    std::filesystem::resize_file(large, 4 * 1024 * 1024 + 1);  // sparse: nothing is written

    EXPECT_FALSE(LoadKeyboardLayouts(fifo.path()));
    EXPECT_FALSE(fifo.blocked());
    EXPECT_FALSE(LoadKeyboardLayouts(dir.path().string()));
    EXPECT_FALSE(LoadKeyboardLayouts(large));
    // In a child, where an endless read is cut short by the alarm.
    EXPECT_EQ(vlt::test::runInChild([&] {
                  ::alarm(2);
                  return LoadKeyboardLayouts(zero) ? 1 : 0;
              }),
              0);
}

// The file shipped beside the plugin: US English first, every layout complete, IDs unique,
// and every XKB layout the keyboard knows has its group.
TEST(LayoutsFile, ShippedFileStartsWithUsEnglishAndCoversTheKnownLayouts) {
    const auto layouts = LoadKeyboardLayouts(TAPBOARD_LAYOUTS_FILE);
    ASSERT_TRUE(layouts);
    ASSERT_GE(layouts->size(), 10u);
    EXPECT_EQ(layouts->front().ID, 1033);
    EXPECT_EQ(layouts->front().LayoutName, "English (US)");
    std::set<std::int32_t> ids;
    for (const KeyboardLayout& layout : *layouts) {
        EXPECT_TRUE(ids.insert(layout.ID).second) << layout.ID;
        EXPECT_FALSE(layout.LayoutName.empty()) << layout.ID;
        for (std::size_t n = 0; n < layout.Button.size(); ++n) {
            EXPECT_NE(layout.Button[n], 0) << layout.ID << " key " << n;
        }
    }
    for (const char* xkb : {"us", "gb", "de", "fr", "es", "it", "pt", "nl", "se", "ch", "be"}) {
        EXPECT_TRUE(ids.count(LayoutIdForXkbName(xkb))) << xkb;
    }
    // The letters' codes follow each layout: German swaps Y and Z, French has AZERTY.
    auto layout = [&](std::int32_t id) {
        for (const KeyboardLayout& l : *layouts) {
            if (l.ID == id) {
                return l;
            }
        }
        return KeyboardLayout{};
    };
    EXPECT_EQ(layout(1033).Button[35], 'Y');
    EXPECT_EQ(layout(1031).Button[35], 'Z');
    EXPECT_EQ(layout(1036).Button[30], 'A');
    EXPECT_EQ(layout(1036).Button[46], 'Q');
}

}  // namespace
}  // namespace tapboard
