#include "KeyTable.h"

namespace tapboard {

namespace {

constexpr std::array<int, kKindCount> kWidths = {25, 35, 40, 45, 50, 55, 65, 340};

constexpr KeyDef fixed(int number, const char* label, int x, int row, int kind,
                       bool toggle = false) {
    return KeyDef{number, label, x, row * kKeyHeight, kind, toggle, false, ""};
}

constexpr KeyDef character(int number, int x, int row, int kind, const char* position) {
    return KeyDef{number, "", x, row * kKeyHeight, kind, false, true, position};
}

// Builds the table row by row; the runs of equal keys are spelled out by their first x and step.
constexpr std::array<KeyDef, kKeyCount> buildTable() {
    std::array<KeyDef, kKeyCount> t{};
    constexpr const char* kFunction[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                         "F7", "F8", "F9", "F10", "F11", "F12"};
    constexpr const char* kDigits[] = {"AE01", "AE02", "AE03", "AE04", "AE05", "AE06",
                                       "AE07", "AE08", "AE09", "AE10", "AE11", "AE12"};
    constexpr const char* kUpper[] = {"AD01", "AD02", "AD03", "AD04", "AD05", "AD06",
                                      "AD07", "AD08", "AD09", "AD10", "AD11", "AD12"};
    constexpr const char* kHome[] = {"AC01", "AC02", "AC03", "AC04", "AC05", "AC06",
                                     "AC07", "AC08", "AC09", "AC10", "AC11"};
    constexpr const char* kLower[] = {"AB01", "AB02", "AB03", "AB04", "AB05",
                                      "AB06", "AB07", "AB08", "AB09", "AB10"};

    t[0] = fixed(0, "Esc", 0, 0, 1);
    for (int n = 1; n <= 12; ++n) {
        t[n] = fixed(n, kFunction[n - 1], 35 * n, 0, 1);
    }

    t[13] = character(13, 0, 1, 1, "TLDE");
    for (int n = 14; n <= 25; ++n) {
        t[n] = character(n, 35 + 25 * (n - 14), 1, 0, kDigits[n - 14]);
    }
    t[26] = fixed(26, "Bkspc", 335, 1, 4);
    t[27] = fixed(27, "Ins", 385, 1, 1);
    t[28] = fixed(28, "Del", 420, 1, 1);

    t[29] = fixed(29, "Tab", 0, 2, 3);
    for (int n = 30; n <= 41; ++n) {
        t[n] = character(n, 45 + 25 * (n - 30), 2, 0, kUpper[n - 30]);
    }
    t[42] = character(42, 345, 2, 2, "BKSL");
    t[43] = fixed(43, "Hme", 385, 2, 1);
    t[44] = fixed(44, "End", 420, 2, 1);

    t[45] = fixed(45, "CapsLk", 0, 3, 5, true);
    for (int n = 46; n <= 56; ++n) {
        t[n] = character(n, 55 + 25 * (n - 46), 3, 0, kHome[n - 46]);
    }
    t[57] = fixed(57, "Enter", 330, 3, 5);
    t[58] = fixed(58, "PUp", 385, 3, 1);
    t[59] = fixed(59, "PDn", 420, 3, 1);

    t[60] = fixed(60, "Shift", 0, 4, 6, true);
    for (int n = 61; n <= 70; ++n) {
        t[n] = character(n, 65 + 25 * (n - 61), 4, 0, kLower[n - 61]);
    }
    t[71] = fixed(71, "Up", 315, 4, 1);
    t[72] = fixed(72, "Rght", 350, 4, 1);
    t[73] = fixed(73, "Lft", 385, 4, 1);
    t[74] = fixed(74, "Dwn", 420, 4, 1);

    t[75] = fixed(75, "Ctrl", 0, 5, 3, true);
    t[76] = fixed(76, "Win", 45, 5, 1);
    t[77] = fixed(77, "Alt", 80, 5, 1, true);
    t[78] = fixed(78, "", 115, 5, 7);
    return t;
}

constexpr std::array<KeyDef, kKeyCount> kTable = buildTable();

}  // namespace

int KindWidth(int kind) {
    return kind >= 0 && kind < kKindCount ? kWidths[static_cast<std::size_t>(kind)] : 0;
}

const std::array<KeyDef, kKeyCount>& KeyTable() {
    return kTable;
}

int KeyAt(int x, int y) {
    for (const KeyDef& key : kTable) {
        if (x >= key.X && x < key.X + KindWidth(key.Kind) && y >= key.Y && y < key.Y + kKeyHeight) {
            return key.Number;
        }
    }
    return -1;
}

}  // namespace tapboard
