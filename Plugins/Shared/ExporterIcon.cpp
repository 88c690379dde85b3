#include "ExporterIcon.h"

#include <array>

#include "PluginIcon.h"

namespace vlt::plugin {

namespace {

// 0xAARRGGBB of the picture's pixel at column x, row y (row 0 at the top).
std::uint32_t pixel(int x, int y, std::uint32_t colour) {
    const bool inside = x >= 2 && x <= 13 && y >= 1 && y <= 14;
    if (!inside) {
        return 0;
    }
    const bool border = x == 2 || x == 13 || y == 1 || y == 14;
    if (border) {
        return 0xFF606060;
    }
    const bool line = (y == 4 || y == 7 || y == 10) && x >= 4 && x <= 11;
    if (line) {
        const std::uint32_t r = colour & 0xFF;
        const std::uint32_t g = (colour >> 8) & 0xFF;
        const std::uint32_t b = (colour >> 16) & 0xFF;
        return 0xFF000000 | (r << 16) | (g << 8) | b;
    }
    return 0xFFFFFFFF;
}

}  // namespace

const std::uint8_t* ExporterIcon(std::uint32_t colour) {
    static const std::array<std::uint8_t, kIconFileSize> file = [colour] {
        sdk::PluginIconPixels picture{};
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                picture[static_cast<std::size_t>(y * 16 + x)] = pixel(x, y, colour);
            }
        }
        return sdk::PluginIconFile(picture);
    }();
    return file.data();
}

}  // namespace vlt::plugin
