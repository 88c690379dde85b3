#pragma once
// The exporters' 16 x 16 icon: a page with three lines in the exporter's colour, as an icon file
// of one 32-bit image.

#include <cstdint>

#include "PluginIcon.h"

namespace vlt::plugin {

inline constexpr std::int32_t kIconFileSize = static_cast<std::int32_t>(sdk::kPluginIconFileSize);

// The icon file, built once; colour is 0x00BBGGRR.
const std::uint8_t* ExporterIcon(std::uint32_t colour);

}  // namespace vlt::plugin
