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

void put16(std::uint8_t*& p, std::uint32_t v) {
    *p++ = static_cast<std::uint8_t>(v);
    *p++ = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::uint8_t*& p, std::uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p, v >> 16);
}

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
    std::array<std::uint8_t, kIconFileSize> file{};
    std::uint8_t* p = file.data();
    put16(p, 0);  // reserved
    put16(p, 1);  // icon
    put16(p, 1);  // one image
    *p++ = 16;    // width
    *p++ = 16;    // height
    *p++ = 0;     // no palette
    *p++ = 0;
    put16(p, 1);   // planes
    put16(p, 32);  // bits per pixel
    put32(p, kIconFileSize - 22);
    put32(p, 22);
    put32(p, 40);  // BITMAPINFOHEADER
    put32(p, 16);
    put32(p, 32);  // colour and mask stacked
    put16(p, 1);
    put16(p, 32);
    put32(p, 0);  // uncompressed
    put32(p, 16 * 16 * 4 + 16 * 4);
    p += 16;  // resolution and colour counts stay 0
    for (int row = 15; row >= 0; --row) {
        for (int column = 0; column < 16; ++column) {
            put32(p, pixel(kPicture[row][column]));
        }
    }
    for (int row = 15; row >= 0; --row) {
        std::uint32_t mask = 0;
        for (int column = 0; column < 16; ++column) {
            if (pixel(kPicture[row][column]) == 0) {
                mask |= 0x8000u >> column;
            }
        }
        *p++ = static_cast<std::uint8_t>(mask >> 8);
        *p++ = static_cast<std::uint8_t>(mask);
        p += 2;  // rows are padded to four bytes
    }
    return file;
}

}  // namespace

const std::array<std::uint8_t, kIconFileSize>& KeyboardIcon() {
    static const std::array<std::uint8_t, kIconFileSize> icon = build();
    return icon;
}

}  // namespace tapboard
