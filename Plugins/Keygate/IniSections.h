#pragma once
// The sections of an INI file as the INI exporter lays them out.
//
// A line "[name]" starts a new section (a repeated name starts another one), ";" starts a
// comment, and "key = value" sets a key of the current section; any other line, and any key line
// before the first section, is ignored. Keys ignore letter case; of a repeated key the first
// counts. Exactly one blank after the "=" belongs to the layout; the value is the rest, as
// written.
//
// The exporter's layout once wrote texts unescaped, so a text with line breaks goes on over lines
// of its own. A text value therefore runs on, with the file's own line ends, up to a line that
// sets a key of the layout which the section has not set yet (keys left out, or written in
// another order, end it all the same), or else up to the next section line that a key line or
// the end of the file follows ("[]" included), less the empty and ";" lines just before it. A
// line inside a value neither opens a section nor sets a key.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vlt::import {

struct IniSection {
    IniSection() = default;
    IniSection(IniSection&&) = default;
    IniSection& operator=(IniSection&&) = default;
    ~IniSection();  // the values hold passwords

    // The first value of the key ("" when missing); key in lower case.
    const std::u16string& text(std::u16string_view key) const;
    std::int32_t number(std::u16string_view key) const;

    std::vector<std::pair<std::u16string, std::u16string>> keys;  // lower-cased key, value
};

// The sections of the text in file order; values as written (escapes are the caller's).
std::vector<IniSection> readIniSections(std::u16string_view text);

}  // namespace vlt::import
