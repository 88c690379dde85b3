#pragma once
// The sections of an INI file as the INI exporter lays them out.
//
// A record starts at a section line "[name]" ("[]" included) when the first line after it that
// is neither blank nor a ";" comment sets a key of the layout, or when no such line follows. The
// keys of the layout set on the lines after it, up to the next section line, are the record's;
// "key = value" sets a key (keys ignore letter case; of a repeated key the first counts). Any
// other line is ignored, and so is every key of a section line that starts no record (a foreign
// section in a hand-edited file) and of the lines before the first record. Exactly one blank
// after the "=" belongs to the layout; the value is the rest of its line, as written.
//
// Only the comment (the one text the program's own windows let hold line breaks) may run on over
// lines, as the exporter once wrote it unescaped: it takes every line after its own, whatever
// they look like, up to the record's next key line of "Expires", with the file's own line ends.
// Where no such line comes before the next record starts, or the record set "Expires" before the
// comment, the comment is its one line.

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
