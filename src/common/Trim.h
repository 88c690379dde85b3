#pragma once
// Trimming blanks off the ends of a text, for UTF-16 and UTF-8 texts alike (a blank is ASCII,
// so it is never part of a longer UTF-8 sequence). The results are views into the text given,
// which must outlive them.

#include <string_view>
#include <type_traits>
#include <utility>

namespace vlt {

// Which characters count as blanks.
enum class Blanks {
    Spaces,         // U+0020 only
    SpacesAndTabs,  // U+0020 and U+0009
};

template <typename Char>
constexpr bool isBlank(Char c, Blanks blanks) {
    return c == Char(' ') || (blanks == Blanks::SpacesAndTabs && c == Char('\t'));
}

namespace trim_detail {

template <typename Char>
constexpr std::basic_string_view<Char> leading(std::basic_string_view<Char> text, Blanks blanks) {
    while (!text.empty() && isBlank(text.front(), blanks)) {
        text.remove_prefix(1);
    }
    return text;
}

template <typename Char>
constexpr std::basic_string_view<Char> trailing(std::basic_string_view<Char> text, Blanks blanks) {
    while (!text.empty() && isBlank(text.back(), blanks)) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace trim_detail

// The character type of a string, string view or string literal.
template <typename Text>
using CharOf = std::remove_cvref_t<decltype(std::declval<const Text&>()[0])>;

// The text without its leading blanks.
template <typename Text>
constexpr auto trimLeadingBlanks(const Text& text, Blanks blanks = Blanks::Spaces) {
    return trim_detail::leading(std::basic_string_view<CharOf<Text>>(text), blanks);
}

// The text without its trailing blanks.
template <typename Text>
constexpr auto trimTrailingBlanks(const Text& text, Blanks blanks = Blanks::Spaces) {
    return trim_detail::trailing(std::basic_string_view<CharOf<Text>>(text), blanks);
}

// The text without its leading and trailing blanks.
template <typename Text>
constexpr auto trimBlanks(const Text& text, Blanks blanks = Blanks::Spaces) {
    return trimTrailingBlanks(trimLeadingBlanks(text, blanks), blanks);
}

}  // namespace vlt
