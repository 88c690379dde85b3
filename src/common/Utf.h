#pragma once
// Conversions between the UTF-16 the vault keeps and the UTF-8 of files and messages.

#include <string>
#include <string_view>

namespace vlt {

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);
// UTF-8 to UTF-16; invalid or overlong sequences become U+FFFD. An ASCII byte always stays one
// character of its own, so a text may be split at ASCII bytes before or after decoding alike.
std::u16string fromUtf8(std::string_view text);
// Plain ASCII (or UTF-8) literal to UTF-16, for messages built from narrow strings.
inline std::u16string u16(std::string_view text) {
    return fromUtf8(text);
}

}  // namespace vlt
