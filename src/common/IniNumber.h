#pragma once
// Numbers as INI files write them.

#include <cstdint>
#include <string_view>

namespace vlt {

// What a number too large for 32 bits becomes.
enum class NumberOverflow {
    Saturate,  // the nearest int32 limit
    Wrap,      // its value modulo 2^32
};

// A number as the settings and other INI files store it: leading blanks and tabs skipped, an
// optional sign, "$" introduces hexadecimal and "%" binary digits, else decimal digits up to the
// first other character. No digits give 0.
std::int32_t IniNumber(std::u16string_view text,
                       NumberOverflow overflow = NumberOverflow::Saturate);
// The same for UTF-8 (or any ASCII-compatible) text.
std::int32_t IniNumber(std::string_view text, NumberOverflow overflow = NumberOverflow::Saturate);

}  // namespace vlt
