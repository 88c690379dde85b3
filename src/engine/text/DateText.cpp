#include "engine/text/DateText.h"

#include <ctime>
#include <limits>

#include "engine/text/Text.h"

namespace vlt {

namespace {

std::int32_t saturate(std::int64_t value) {
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

std::u16string twoDigits(int value) {
    std::u16string out;
    out += static_cast<char16_t>(u'0' + (value / 10) % 10);
    out += static_cast<char16_t>(u'0' + value % 10);
    return out;
}

}  // namespace

std::int32_t LocalNow() {
    return LocalDate(std::time(nullptr));
}

std::int32_t LocalDate(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    return saturate(static_cast<std::int64_t>(moment) + local.tm_gmtoff);
}

std::u16string FormatDate(std::u16string_view mask, std::int32_t date) {
    std::time_t t = date;
    std::tm tm{};
    gmtime_r(&t, &tm);
    const int year = tm.tm_year + 1900;
    struct Token {
        std::u16string_view name;
        std::u16string text;
    };
    const Token tokens[] = {
        {u"%yyyy", decimal(year)},          {u"%yy", twoDigits(year % 100)},
        {u"%mm", twoDigits(tm.tm_mon + 1)}, {u"%dd", twoDigits(tm.tm_mday)},
        {u"%hh", twoDigits(tm.tm_hour)},    {u"%ii", twoDigits(tm.tm_min)},
        {u"%ss", twoDigits(tm.tm_sec)},
    };
    std::u16string out;
    std::size_t i = 0;
    while (i < mask.size()) {
        bool matched = false;
        for (const auto& token : tokens) {
            if (mask.substr(i, token.name.size()) == token.name) {
                out += token.text;
                i += token.name.size();
                matched = true;
                break;
            }
        }
        if (!matched) {
            out += mask[i++];
        }
    }
    return out;
}

std::int32_t AddSeconds(std::int32_t date, std::int64_t seconds) {
    return saturate(static_cast<std::int64_t>(date) + seconds);
}

}  // namespace vlt
