#pragma once
// Conversions between the engine's UTF-16 texts and Qt's.

#include <QString>
#include <string>
#include <string_view>

namespace vlt {

inline QString qs(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string u16s(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

}  // namespace vlt
