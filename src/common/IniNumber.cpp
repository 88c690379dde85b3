#include "common/IniNumber.h"

#include <algorithm>
#include <limits>

#include "common/Trim.h"

namespace vlt {

namespace {

template <typename Char>
int digitValue(Char c) {
    if (c >= Char('0') && c <= Char('9')) {
        return c - Char('0');
    }
    if (c >= Char('a') && c <= Char('f')) {
        return c - Char('a') + 10;
    }
    if (c >= Char('A') && c <= Char('F')) {
        return c - Char('A') + 10;
    }
    return 99;
}

template <typename Char>
std::int32_t parseNumber(std::basic_string_view<Char> text, NumberOverflow overflow) {
    text = trimLeadingBlanks(text, Blanks::SpacesAndTabs);
    bool negative = false;
    if (!text.empty() && (text.front() == Char('-') || text.front() == Char('+'))) {
        negative = text.front() == Char('-');
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && (text.front() == Char('$') || text.front() == Char('%'))) {
        base = text.front() == Char('$') ? 16 : 2;
        text.remove_prefix(1);
    }
    // The saturated magnitude stops growing just past the int32 range, so any length of digits
    // is safe; the wrapped one keeps the low 32 bits.
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    std::uint32_t wrapped = 0;
    for (Char c : text) {
        const int digit = digitValue(c);
        if (digit >= base) {
            break;
        }
        magnitude = std::min(magnitude * base + digit, kLimit);
        wrapped = wrapped * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
    }
    if (overflow == NumberOverflow::Wrap) {
        return static_cast<std::int32_t>(negative ? 0u - wrapped : wrapped);
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::int32_t IniNumber(std::u16string_view text, NumberOverflow overflow) {
    return parseNumber(text, overflow);
}

std::int32_t IniNumber(std::string_view text, NumberOverflow overflow) {
    return parseNumber(text, overflow);
}

}  // namespace vlt
