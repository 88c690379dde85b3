#include "engine/text/Misc.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/Utf.h"
#include "engine/text/Text.h"

namespace vlt {

std::u16string MaskText(std::u16string_view text) {
    return std::u16string(text.size(), u'*');
}

std::u16string FormatByteSize(std::int64_t bytes, int decimals) {
    static constexpr const char* kUnits[] = {"B", "KB", "MB", "GB", "TB", "PB", "EB"};
    if (bytes <= 0) {
        return bytes == 0 ? std::u16string() : decimal(bytes) + u" B";
    }
    int e = 0;
    double value = static_cast<double>(bytes);
    while (value >= 1024.0 && e < 6) {
        value /= 1024.0;
        ++e;
    }
    char text[64];
    if (e == 0) {
        std::snprintf(text, sizeof text, "%lld %s", static_cast<long long>(bytes), kUnits[0]);
    } else {
        std::snprintf(text, sizeof text, "%.*f %s", decimals < 0 ? 0 : decimals, value, kUnits[e]);
    }
    return u16(text);
}

std::u16string ExpandEnvironment(std::u16string_view text) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == u'%') {
            const auto close = text.find(u'%', i + 1);
            if (close != std::u16string_view::npos && close > i + 1) {
                if (const char* value =
                        std::getenv(toUtf8(text.substr(i + 1, close - i - 1)).c_str())) {
                    out += fromUtf8(value);
                    i = close + 1;
                    continue;
                }
            }
        }
        out += text[i++];
    }
    return out;
}

std::vector<Rgb> GradientSteps(Rgb from, Rgb to, int steps) {
    std::vector<Rgb> out;
    if (steps <= 0) {
        return out;
    }
    out.reserve(static_cast<std::size_t>(steps));
    auto channel = [steps](int a, int b, int i) {
        return static_cast<int>(std::lround(a - static_cast<double>(i) * (a - b) / steps));
    };
    for (int i = 0; i < steps; ++i) {
        out.push_back(
            {channel(from.r, to.r, i), channel(from.g, to.g, i), channel(from.b, to.b, i)});
    }
    return out;
}

}  // namespace vlt
