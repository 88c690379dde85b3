#include "ExporterIcon.h"

#include <array>

namespace vlt::plugin {

namespace {

constexpr int kSide = 16;
constexpr int kPixelOffset = 6 + 16 + 40;

void put16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::uint8_t* at, std::uint32_t value) {
    put16(at, value);
    put16(at + 2, value >> 16);
}

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
    static std::array<std::uint8_t, kIconFileSize> file = [colour] {
        std::array<std::uint8_t, kIconFileSize> bytes{};
        std::uint8_t* p = bytes.data();
        put16(p + 2, 1);  // an icon file
        put16(p + 4, 1);  // one image
        p[6] = kSide;
        p[7] = kSide;
        put16(p + 10, 1);   // planes
        put16(p + 12, 32);  // bits per pixel
        put32(p + 14, kIconFileSize - 22);
        put32(p + 18, 22);
        put32(p + 22, 40);
        put32(p + 26, kSide);
        put32(p + 30, 2 * kSide);  // the colour image and its mask
        put16(p + 34, 1);
        put16(p + 36, 32);
        put32(p + 42, kSide * kSide * 4 + kSide * 4);
        // Rows bottom-up; the mask after them stays zero, the alpha channel decides.
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                put32(p + kPixelOffset + ((kSide - 1 - y) * kSide + x) * 4, pixel(x, y, colour));
            }
        }
        return bytes;
    }();
    return file.data();
}

}  // namespace vlt::plugin
