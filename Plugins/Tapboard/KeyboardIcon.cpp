#include "KeyboardIcon.h"

namespace tapboard {

namespace {

// Rows from top to bottom: '#' frame, 'k' key, '.' keyboard body, ' ' transparent.
constexpr const char* kPicture[16] = {
    "                ", "                ", "                ", "################",
    "#..............#", "#.k.k.k.k.k.k..#", "#..............#", "#..k.k.k.k.k.k.#",
    "#..............#", "#.k.k.k.k.k.k..#", "#..............#", "#...kkkkkkkk...#",
    "#..............#", "################", "                ", "                ",
};

std::uint32_t pixel(char c) {
    switch (c) {
        case '#':
            return 0xFF404040;
        case 'k':
            return 0xFFFFFFFF;
        case '.':
            return 0xFF9AA6B4;
        default:
            return 0;
    }
}

std::array<std::uint8_t, kIconFileSize> build() {
    vlt::sdk::PluginIconPixels picture{};
    for (std::size_t row = 0; row < 16; ++row) {
        for (std::size_t column = 0; column < 16; ++column) {
            picture[row * 16 + column] = pixel(kPicture[row][column]);
        }
    }
    return vlt::sdk::PluginIconFile(picture);
}

}  // namespace

const std::array<std::uint8_t, kIconFileSize>& KeyboardIcon() {
    static const std::array<std::uint8_t, kIconFileSize> icon = build();
    return icon;
}

}  // namespace tapboard
