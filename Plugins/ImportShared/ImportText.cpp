#include "ImportText.h"

#include <openssl/crypto.h>

#include <algorithm>
#include <limits>

namespace vlt::import {

void wipe(std::string& text) {
    if (!text.empty()) {
        OPENSSL_cleanse(text.data(), text.size());
    }
    text.clear();
}

void wipe(std::u16string& text) {
    if (!text.empty()) {
        OPENSSL_cleanse(text.data(), text.size() * sizeof(char16_t));
    }
    text.clear();
}

std::int32_t numberValue(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text[i] == u'$' || text[i] == u'%')) {
        base = text[i] == u'$' ? 16 : 2;
        ++i;
    }
    // Accumulated in 64 bits and held at a bound just past int32, so the sign can still apply.
    constexpr std::int64_t kBound = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        int digit = -1;
        if (c >= u'0' && c <= u'9') {
            digit = c - u'0';
        } else if (c >= u'a' && c <= u'f') {
            digit = c - u'a' + 10;
        } else if (c >= u'A' && c <= u'F') {
            digit = c - u'A' + 10;
        }
        if (digit < 0 || digit >= base) {
            break;
        }
        value = std::min(value * base + digit, kBound);
    }
    value = negative ? -value : value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::u16string fromUtf16Le(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size() / 2 + 1);
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    if (i < bytes.size()) {
        out += u'\uFFFD';
    }
    return out;
}

std::u16string_view trimBlanksTabs(std::u16string_view text) {
    const auto first = text.find_first_not_of(u" \t");
    if (first == std::u16string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

}  // namespace vlt::import
