#include "engine/text/LinkFinder.h"

#include "common/AsciiCase.h"
#include "common/Trim.h"

namespace vlt {

namespace {

constexpr std::u16string_view kPrefixes[] = {u"http://", u"https://", u"ftp://", u"mailto:",
                                             u"www."};

bool endsLink(char16_t c) {
    return c <= u' ' || c == u'<' || c == u'>' || c == u'"' || c == 0x7F;
}

bool trailingPunctuation(char16_t c) {
    return c == u'.' || c == u',' || c == u';' || c == u':' || c == u'!' || c == u'?' ||
           c == u')' || c == u']' || c == u'\'';
}

bool startsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && lowerAscii(text.substr(0, prefix.size())) == prefix;
}

bool isAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// "name:" at the start, where name is a URL scheme; a colon before a port number ("host:8080")
// is no scheme.
bool hasScheme(std::u16string_view text) {
    if (text.empty() || !isAsciiLetter(text[0])) {
        return false;
    }
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u':') {
            return i + 1 == text.size() || !isAsciiDigit(text[i + 1]);
        }
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != u'+' && c != u'-' && c != u'.') {
            return false;
        }
    }
    return false;
}

}  // namespace

std::vector<FoundLink> FindLinks(std::u16string_view text) {
    std::vector<FoundLink> links;
    std::size_t i = 0;
    while (i < text.size()) {
        const bool wordStart = i == 0 || !((text[i - 1] >= u'a' && text[i - 1] <= u'z') ||
                                           (text[i - 1] >= u'A' && text[i - 1] <= u'Z') ||
                                           (text[i - 1] >= u'0' && text[i - 1] <= u'9'));
        std::u16string_view prefix;
        if (wordStart) {
            for (auto p : kPrefixes) {
                if (startsWithIgnoreCase(text.substr(i), p)) {
                    prefix = p;
                    break;
                }
            }
        }
        if (prefix.empty()) {
            ++i;
            continue;
        }
        std::size_t end = i + prefix.size();
        while (end < text.size() && !endsLink(text[end])) {
            ++end;
        }
        while (end > i + prefix.size() && trailingPunctuation(text[end - 1])) {
            --end;
        }
        if (end == i + prefix.size()) {
            i = end;
            continue;
        }
        std::u16string url(text.substr(i, end - i));
        if (prefix == u"www.") {
            url = u"http://" + url;
        }
        links.push_back({i, end - i, std::move(url)});
        i = end;
    }
    return links;
}

bool IsOpenableUrl(std::u16string_view url) {
    for (auto scheme : {u"http://", u"https://", u"ftp://", u"mailto:"}) {
        if (startsWithIgnoreCase(url, scheme) && url.size() > std::u16string_view(scheme).size()) {
            return true;
        }
    }
    return false;
}

std::u16string BrowserAddress(std::u16string_view stored) {
    std::u16string address(trimBlanks(stored));
    const bool hostFirst =
        !address.empty() && (isAsciiLetter(address[0]) || isAsciiDigit(address[0]));
    if (hostFirst && !hasScheme(address)) {
        // A bare "name@host" is a mail address; with a path it stays a web address.
        const bool mail = address.find(u'@') != std::u16string::npos &&
                          address.find(u'/') == std::u16string::npos;
        address.insert(0, mail ? u"mailto:" : u"http://");
    }
    return address;
}

}  // namespace vlt
