#pragma once
// The virtual-key codes of the layouts file for the keys that do not print a character, and the
// X keysyms that stand for them.

#include <cstdint>

namespace tapboard {

// Virtual-key codes the keyboard presses itself for its sticky keys.
inline constexpr std::uint8_t kVkCapital = 0x14;
inline constexpr std::uint8_t kVkLeftShift = 0xA0;
inline constexpr std::uint8_t kVkLeftControl = 0xA2;
inline constexpr std::uint8_t kVkMenu = 0x12;

// The keysym of a non-character virtual key (Escape, F1, Left, ...), 0 for a code the keyboard
// has no fixed meaning for.
std::uint32_t KeysymForVirtualKey(std::uint8_t vk);

}  // namespace tapboard
