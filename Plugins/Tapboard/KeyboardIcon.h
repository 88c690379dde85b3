#pragma once
// The plugin's 16x16 icon, a small keyboard, as an icon file in memory.

#include <array>
#include <cstdint>

#include "PluginIcon.h"

namespace tapboard {

inline constexpr std::size_t kIconFileSize = vlt::sdk::kPluginIconFileSize;

const std::array<std::uint8_t, kIconFileSize>& KeyboardIcon();

}  // namespace tapboard
