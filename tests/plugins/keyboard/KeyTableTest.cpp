// The key table's geometry, and choosing a layout for the desktop's keyboard layout.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "KeyTable.h"
#include "LayoutChoice.h"

namespace tapboard {
namespace {

TEST(KeyTable, RowsFillTheWidthExactlyWithoutGapsOrOverlaps) {
    std::map<int, int> rowEnd;  // y -> right edge of the keys so far
    std::set<std::string> positions;
    int characters = 0;
    for (std::size_t i = 0; i < KeyTable().size(); ++i) {
        const KeyDef& key = KeyTable()[i];
        EXPECT_EQ(key.Number, static_cast<int>(i));
        EXPECT_EQ(key.X, rowEnd[key.Y]) << "key " << key.Number << " does not follow its left one";
        rowEnd[key.Y] = key.X + KindWidth(key.Kind);
        EXPECT_EQ(KeyAt(key.X, key.Y), key.Number);
        EXPECT_EQ(KeyAt(key.X + KindWidth(key.Kind) - 1, key.Y + kKeyHeight - 1), key.Number);
        if (key.Character) {
            ++characters;
            EXPECT_STREQ(key.Label, "");
            EXPECT_TRUE(positions.insert(key.Position).second) << key.Position;
        } else {
            EXPECT_STREQ(key.Position, "");
        }
    }
    ASSERT_EQ(rowEnd.size(), 6u);
    for (const auto& [y, end] : rowEnd) {
        EXPECT_EQ(end, kKeyboardWidth) << "row at y " << y;
        EXPECT_EQ(y % kKeyHeight, 0);
    }
    EXPECT_EQ(characters, 47);
    EXPECT_EQ(KeyAt(kKeyboardWidth, 0), -1);
    EXPECT_EQ(KeyAt(0, kKeyboardHeight), -1);

    const std::set<int> sticky = {45, 60, 75, 77};
    for (const KeyDef& key : KeyTable()) {
        EXPECT_EQ(key.Toggle, sticky.count(key.Number) == 1) << key.Number;
    }
    EXPECT_STREQ(KeyTable()[26].Label, "Bkspc");
    EXPECT_STREQ(KeyTable()[42].Position, "BKSL");
    EXPECT_STREQ(KeyTable()[46].Position, "AC01");
}

TEST(LayoutChoice, MissingLayoutFallsBackToTheFirstAndIsReportedOncePerId) {
    std::vector<KeyboardLayout> layouts(2);
    layouts[0].ID = 1033;
    layouts[0].LayoutName = "English (US)";
    layouts[1].ID = 1031;
    LayoutChoice choice(layouts);
    bool report = true;

    EXPECT_EQ(&choice.choose(1031, report), &layouts[1]);
    EXPECT_FALSE(report);
    EXPECT_EQ(&choice.choose(1036, report), &layouts[0]);
    EXPECT_TRUE(report);
    // Every Shift or Caps Lock change chooses again; the message is not shown again.
    EXPECT_EQ(&choice.choose(1036, report), &layouts[0]);
    EXPECT_FALSE(report);
    EXPECT_EQ(&choice.choose(0, report), &layouts[0]);
    EXPECT_TRUE(report);

    EXPECT_EQ(MissingLayoutMessage(1036),
              "The layout with the following ID could not be found in the 'KBLayouts.ini' file: "
              "1036. Loading the English (US) layout.");
    EXPECT_EQ(KeyboardTitle(layouts[0], 1036), "Tapboard Plugin (VLT) (English (US))");
    EXPECT_EQ(KeyboardTitle(layouts[1], 1031), "Tapboard Plugin (VLT) (1031)");
}

TEST(LayoutChoice, XkbGroupsMapToLayoutIds) {
    using namespace std::string_literals;
    const std::string rules = "evdev\0pc105\0us,de,fr\0,,\0grp:alt_shift_toggle\0"s;
    EXPECT_EQ(XkbLayoutOfGroup(rules, 0), "us");
    EXPECT_EQ(XkbLayoutOfGroup(rules, 1), "de");
    EXPECT_EQ(XkbLayoutOfGroup(rules, 2), "fr");
    EXPECT_EQ(XkbLayoutOfGroup(rules, 3), "");
    EXPECT_EQ(XkbLayoutOfGroup(rules, -1), "");
    EXPECT_EQ(XkbLayoutOfGroup("evdev\0pc105"s, 0), "");
    EXPECT_EQ(XkbLayoutOfGroup("", 0), "");
    EXPECT_EQ(LayoutIdForXkbName("us"), 1033);
    EXPECT_EQ(LayoutIdForXkbName("de"), 1031);
    EXPECT_EQ(LayoutIdForXkbName("ru"), 1049);
    EXPECT_EQ(LayoutIdForXkbName("xx"), 0);
}

}  // namespace
}  // namespace tapboard
