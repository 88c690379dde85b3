#pragma once
// Small helpers with decisions every window must share: masks, byte-size units, environment
// references, colour gradients and the colour byte order.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vlt {

// One "*" per character (UTF-16 unit) of the text.
std::u16string MaskText(std::u16string_view text);

// "512 B", "1.50 KB", ...: the largest unit of B,KB,MB,GB,TB,PB,EB that keeps the value >= 1,
// with `decimals` digits after the point (none for bytes); 0 gives "".
std::u16string FormatByteSize(std::int64_t bytes, int decimals);

// The text with %NAME% references replaced by the environment's values; unknown references are
// left as they stand. ($ is left alone: it is an ordinary character in file names.)
std::u16string ExpandEnvironment(std::u16string_view text);

// A colour as 0x00BBGGRR and its channels.
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};
constexpr Rgb rgbFromColor(std::int32_t color) {
    return {color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF};
}
constexpr std::int32_t colorFromRgb(int r, int g, int b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

// The colours of a linear gradient over `steps` rows (or columns): step i gets, per channel,
// from - i * (from - to) / steps, rounded to the nearest integer.
std::vector<Rgb> GradientSteps(Rgb from, Rgb to, int steps);

}  // namespace vlt
