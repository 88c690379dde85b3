#include "ExportOutput.h"

#include <openssl/crypto.h>

#include <cstdio>

namespace vlt::plugin {

char32_t CodePointAt(std::u16string_view text, std::size_t i, std::size_t& units) {
    units = 1;
    const char16_t unit = text[i];
    if (unit < 0xD800 || unit > 0xDFFF) {
        return unit;
    }
    if (unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        units = 2;
        return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
               (static_cast<char32_t>(text[i + 1]) - 0xDC00);
    }
    return 0xFFFD;
}

ExportOutput::~ExportOutput() {
    OPENSSL_cleanse(bytes_.data(), bytes_.capacity());
}

void ExportOutput::reserveFor(std::size_t more) {
    if (bytes_.size() + more <= bytes_.capacity()) {
        return;
    }
    std::string bigger;
    bigger.reserve(2 * (bytes_.size() + more) + 256);
    bigger.assign(bytes_);
    OPENSSL_cleanse(bytes_.data(), bytes_.capacity());
    bytes_.swap(bigger);
}

ExportOutput& ExportOutput::operator<<(std::string_view bytes) {
    reserveFor(bytes.size());
    bytes_.append(bytes);
    return *this;
}

ExportOutput& ExportOutput::operator<<(std::u16string_view text) {
    std::size_t units = 1;
    for (std::size_t i = 0; i < text.size(); i += units) {
        put(CodePointAt(text, i, units));
    }
    return *this;
}

ExportOutput& ExportOutput::operator<<(std::int32_t number) {
    return *this << std::to_string(number);
}

void ExportOutput::put(char32_t c) {
    char encoded[4];
    std::size_t length = 0;
    if (c < 0x80) {
        encoded[length++] = static_cast<char>(c);
    } else if (c < 0x800) {
        encoded[length++] = static_cast<char>(0xC0 | (c >> 6));
        encoded[length++] = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        encoded[length++] = static_cast<char>(0xE0 | (c >> 12));
        encoded[length++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        encoded[length++] = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        encoded[length++] = static_cast<char>(0xF0 | (c >> 18));
        encoded[length++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        encoded[length++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        encoded[length++] = static_cast<char>(0x80 | (c & 0x3F));
    }
    *this << std::string_view(encoded, length);
}

std::string DateText(std::int32_t date) {
    // Days and seconds of the day, rounding towards minus infinity so that -1 is the last
    // second of 1969; then the civil date of a day number (proleptic Gregorian calendar).
    const std::int64_t seconds = date;
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", static_cast<int>(year),
                  static_cast<int>(month), static_cast<int>(day), static_cast<int>(rest / 3600),
                  static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    return text;
}

}  // namespace vlt::plugin
