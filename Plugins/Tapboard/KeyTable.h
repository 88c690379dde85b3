#pragma once
// The 79 keys of the on-screen keyboard: where each one sits, how wide it is, what it says, and
// which physical key of a PC keyboard a character key stands for.

#include <array>
#include <cstdint>

namespace tapboard {

inline constexpr int kKeyCount = 79;
inline constexpr int kKeyHeight = 25;
inline constexpr int kKeyboardWidth = 455;
inline constexpr int kKeyboardHeight = 150;
inline constexpr int kKindCount = 8;

struct KeyDef {
    int Number;
    const char* Label;  // "" for character keys (labelled from the layout) and the space bar
    int X;
    int Y;
    int Kind;              // 0..7, see KindWidth
    bool Toggle;           // the sticky keys: CapsLk, Shift, Ctrl, Alt
    bool Character;        // labelled and typed by its physical position
    const char* Position;  // XKB name of the physical key of a character key, else ""
};

// Width in pixels of a key of the given kind; every key is kKeyHeight high.
int KindWidth(int kind);

// The keys in key-number order.
const std::array<KeyDef, kKeyCount>& KeyTable();

// The key whose rectangle holds (x, y) in keyboard coordinates, or -1.
int KeyAt(int x, int y);

}  // namespace tapboard
