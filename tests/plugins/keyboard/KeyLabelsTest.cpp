// Key labels and positions from XKB keymaps compiled from the system's keyboard data.
#include <gtest/gtest.h>

#include <xkbcommon/xkbcommon.h>

#include "KeyLabels.h"

namespace tapboard {
namespace {

std::unique_ptr<KeyLabels> keymap(const std::string& layout) {
    auto labels = KeyLabels::fromNames(layout);
    if (!labels) {
        ADD_FAILURE() << "no XKB keymap for " << layout;
    }
    return labels;
}

TEST(KeyLabels, FollowShiftCapsLockAndTheLayout) {
    const auto us = keymap("us");
    const auto de = keymap("de");
    ASSERT_TRUE(us && de);
    EXPECT_EQ(us->label("AC01", false, false, 0), "a");
    EXPECT_EQ(us->label("AC01", true, false, 0), "A");
    EXPECT_EQ(us->label("AC01", false, true, 0), "A");
    EXPECT_EQ(us->label("AE01", true, false, 0), "!");
    EXPECT_EQ(us->label("AE01", false, true, 0), "1");
    EXPECT_EQ(us->label("BKSL", false, false, 0), "\\");
    EXPECT_EQ(de->label("AD06", false, false, 0), "z");
    EXPECT_EQ(de->label("AB01", false, false, 0), "y");
    EXPECT_EQ(de->label("AC10", true, false, 0), "\xC3\x96");   // Ö
    EXPECT_EQ(de->label("AE11", false, false, 0), "\xC3\x9F");  // ß
    EXPECT_NE(us->keycode("AC01"), 0u);
    EXPECT_EQ(us->keycode("AC01"), de->keycode("AC01"));
    EXPECT_EQ(us->keycode("NONE"), 0u);
    EXPECT_EQ(us->label("NONE", false, false, 0), "");
}

TEST(KeyLabels, DeadKeysShowTheirAccentAndLeaveNothingPending) {
    const auto de = keymap("de");
    const auto fr = keymap("fr");
    ASSERT_TRUE(de && fr);
    EXPECT_EQ(de->label("TLDE", false, false, 0), "^");
    EXPECT_EQ(de->label("AE12", false, false, 0), "\xC2\xB4");  // acute
    EXPECT_EQ(de->label("AE12", true, false, 0), "`");
    // A following key is labelled as if no accent had been typed.
    EXPECT_EQ(de->label("AC01", false, false, 0), "a");
    EXPECT_EQ(fr->label("AD11", false, false, 0), "^");
    EXPECT_EQ(fr->label("AD11", true, false, 0), "\xC2\xA8");  // diaeresis
}

TEST(KeyLabels, ControlCharactersNeverBecomeLabelsAndUsEnglishFillsTheGap) {
    // A keymap whose A key sends Return and whose Q key sends nothing.
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    ASSERT_NE(context, nullptr);
    xkb_keymap* odd =
        xkb_keymap_new_from_string(context,
                                   "xkb_keymap {\n"
                                   "  xkb_keycodes { include \"evdev\" };\n"
                                   "  xkb_types { include \"complete\" };\n"
                                   "  xkb_compat { include \"complete\" };\n"
                                   "  xkb_symbols {\n"
                                   "    include \"pc+de\"\n"
                                   "    override key <AC01> { [ Return, Return ] };\n"
                                   "    override key <AD01> { [ NoSymbol ] };\n"
                                   "  };\n"
                                   "};\n",
                                   XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    ASSERT_NE(odd, nullptr);
    KeyLabels labels(context, odd);
    EXPECT_EQ(labels.label("AC01", false, false, 0), "a");
    EXPECT_EQ(labels.label("AC01", true, false, 0), "A");
    EXPECT_EQ(labels.label("AD01", false, false, 0), "q");
    EXPECT_EQ(labels.label("AD06", false, false, 0), "z");  // the keymap's own keys stay its own
    EXPECT_EQ(labels.label("TAB", false, false, 0), "");
    EXPECT_EQ(labels.label("RTRN", true, true, 0), "");
    EXPECT_EQ(labels.label("ESC", false, false, 0), "");
}

}  // namespace
}  // namespace tapboard
