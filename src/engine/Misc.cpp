#include "Misc.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Text.h"

namespace vlt {

std::u16string MaskText(std::u16string_view text) { return std::u16string(text.size(), u'*'); }

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
    auto lookup = [](std::u16string_view name, std::u16string& value) {
        const char* found = std::getenv(toUtf8(name).c_str());
        if (found == nullptr) {
            return false;
        }
        value = fromUtf8(found);
        return true;
    };
    auto isNameChar = [](char16_t c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
               c == u'_';
    };
    while (i < text.size()) {
        std::u16string value;
        if (text[i] == u'%') {
            auto close = text.find(u'%', i + 1);
            if (close != std::u16string_view::npos && close > i + 1 &&
                lookup(text.substr(i + 1, close - i - 1), value)) {
                out += value;
                i = close + 1;
                continue;
            }
        } else if (text[i] == u'$' && i + 1 < text.size()) {
            if (text[i + 1] == u'{') {
                auto close = text.find(u'}', i + 2);
                if (close != std::u16string_view::npos &&
                    lookup(text.substr(i + 2, close - i - 2), value)) {
                    out += value;
                    i = close + 1;
                    continue;
                }
            } else {
                std::size_t end = i + 1;
                while (end < text.size() && isNameChar(text[end])) {
                    ++end;
                }
                if (end > i + 1 && lookup(text.substr(i + 1, end - i - 1), value)) {
                    out += value;
                    i = end;
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
        out.push_back({channel(from.r, to.r, i), channel(from.g, to.g, i), channel(from.b, to.b, i)});
    }
    return out;
}

}  // namespace vlt
