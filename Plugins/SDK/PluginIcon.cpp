#include "PluginIcon.h"

namespace vlt::sdk {

namespace {

constexpr std::size_t kSide = kPluginIconSide;
constexpr std::size_t kPixelBytes = kSide * kSide * 4;
constexpr std::size_t kMaskBytes = kSide * 4;  // a row of 16 bits, padded to 32

class Writer {
  public:
    explicit Writer(std::uint8_t* at) : at_(at) {}
    void u8(std::uint32_t value) { *at_++ = static_cast<std::uint8_t>(value); }
    void u16(std::uint32_t value) {
        u8(value);
        u8(value >> 8);
    }
    void u32(std::uint32_t value) {
        u16(value);
        u16(value >> 16);
    }

  private:
    std::uint8_t* at_;
};

}  // namespace

std::array<std::uint8_t, kPluginIconFileSize> PluginIconFile(const PluginIconPixels& argb) {
    std::array<std::uint8_t, kPluginIconFileSize> file{};
    Writer out(file.data());
    // The directory: reserved, type 1 (icon), one image.
    out.u16(0);
    out.u16(1);
    out.u16(1);
    // Its entry: width, height, no palette, reserved, one plane, 32 bits, size, offset.
    out.u8(kSide);
    out.u8(kSide);
    out.u8(0);
    out.u8(0);
    out.u16(1);
    out.u16(32);
    out.u32(40 + kPixelBytes + kMaskBytes);
    out.u32(6 + 16);
    // The bitmap header: the height counts the colour rows and the mask rows.
    out.u32(40);
    out.u32(kSide);
    out.u32(2 * kSide);
    out.u16(1);
    out.u16(32);
    out.u32(0);  // uncompressed
    out.u32(kPixelBytes + kMaskBytes);
    for (int i = 0; i < 4; ++i) {
        out.u32(0);  // resolution and colour counts
    }
    // Rows bottom to top; each pixel's bytes are B, G, R, A.
    for (std::size_t row = kSide; row-- > 0;) {
        for (std::size_t column = 0; column < kSide; ++column) {
            out.u32(argb[row * kSide + column]);
        }
    }
    for (std::size_t row = kSide; row-- > 0;) {
        std::uint32_t mask = 0;
        for (std::size_t column = 0; column < kSide; ++column) {
            if ((argb[row * kSide + column] >> 24) == 0) {
                mask |= 0x8000u >> column;
            }
        }
        out.u8(mask >> 8);
        out.u8(mask);
        out.u16(0);
    }
    return file;
}

}  // namespace vlt::sdk
