#pragma once
// Conversions between the UTF-16 texts of records and Qt's, for the shell and the plugins alike.
// A field's text is taken as it is: QString::fromUtf16 would read a leading U+FEFF or U+FFFE as a
// byte-order mark, drop the one and byte-swap the whole text after the other, so a password that
// starts with either would change on its way through a window.

#include <QString>
#include <string>
#include <string_view>

namespace vlt {

inline QString qs(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline std::u16string u16s(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

}  // namespace vlt
