#pragma once
// The 16 x 16 picture a plugin hands the host as its icon, written as an icon file in memory:
// one 32-bit image followed by its mask, kPluginIconFileSize bytes. Plain C++, so that build
// tools and window-free tests can make icons too.

#include <array>
#include <cstddef>
#include <cstdint>

namespace vlt::sdk {

inline constexpr std::size_t kPluginIconSide = 16;
inline constexpr std::size_t kPluginIconFileSize =
    6 + 16 + 40 + kPluginIconSide * kPluginIconSide * 4 + kPluginIconSide * 4;

// 0xAARRGGBB pixels, row by row from the top.
using PluginIconPixels = std::array<std::uint32_t, kPluginIconSide * kPluginIconSide>;

// The icon file of the picture; fully transparent pixels are also set in the mask, for readers
// that go by the mask rather than the alpha channel.
std::array<std::uint8_t, kPluginIconFileSize> PluginIconFile(const PluginIconPixels& argb);

}  // namespace vlt::sdk
