#pragma once
// The plugin's 16x16 icon, a small keyboard, as an icon file in memory.

#include <array>
#include <cstdint>

namespace tapboard {

// An icon file: header, one directory entry, a 32-bit 16x16 bitmap and its mask.
inline constexpr std::size_t kIconFileSize = 6 + 16 + 40 + 16 * 16 * 4 + 16 * 4;

const std::array<std::uint8_t, kIconFileSize>& KeyboardIcon();

}  // namespace tapboard
