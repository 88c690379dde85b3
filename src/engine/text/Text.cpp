#include "engine/text/Text.h"

#include "common/AsciiCase.h"
#include "common/Utf.h"

namespace vlt {

namespace {

bool isSeparator(char16_t c) {
    return c == u'/' || c == u'\\';
}

std::size_t lastSeparator(std::u16string_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (isSeparator(path[i - 1])) {
            return i - 1;
        }
    }
    return std::u16string_view::npos;
}

}  // namespace

bool endsWithIgnoreCase(std::u16string_view text, std::u16string_view suffix) {
    return text.size() >= suffix.size() &&
           lowerAscii(text.substr(text.size() - suffix.size())) == lowerAscii(suffix);
}

std::u16string crLfLineBreaks(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            out += u"\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

std::u16string decimal(std::int64_t value) {
    return u16(std::to_string(value));
}

std::u16string hexText(std::uint32_t value) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string out;
    do {
        out.insert(out.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return out;
}

std::u16string fileNamePart(std::u16string_view path) {
    auto sep = lastSeparator(path);
    return std::u16string(sep == std::u16string_view::npos ? path : path.substr(sep + 1));
}

std::u16string folderPart(std::u16string_view path) {
    auto sep = lastSeparator(path);
    return sep == std::u16string_view::npos ? std::u16string()
                                            : std::u16string(path.substr(0, sep + 1));
}

std::u16string extensionPart(std::u16string_view path) {
    auto name = fileNamePart(path);
    auto dot = name.rfind(u'.');
    return dot == std::u16string::npos ? std::u16string() : name.substr(dot + 1);
}

}  // namespace vlt
