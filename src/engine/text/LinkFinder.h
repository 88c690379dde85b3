#pragma once
// Finds web and mail addresses in free text, so the comment view can show them as links.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vlt {

struct FoundLink {
    std::size_t start = 0;
    std::size_t length = 0;
    std::u16string url;  // what opening the link should open ("www." gets "http://")
};

// Addresses starting with http://, https://, ftp://, mailto: or www., up to the next blank or
// control character, without trailing punctuation that usually ends a sentence.
std::vector<FoundLink> FindLinks(std::u16string_view text);

// True for the schemes the program opens: http, https, ftp and mailto.
bool IsOpenableUrl(std::u16string_view url);

// The address a stored URL stands for: blanks at both ends removed, and an address without a
// scheme that starts like a host name ("example.com/login", "www.example.com", "host:8080") as
// an http address, and a bare mail address ("jo@example.com") as a mailto one. Anything else is
// returned trimmed, for IsOpenableUrl to judge.
std::u16string BrowserAddress(std::u16string_view stored);

}  // namespace vlt
