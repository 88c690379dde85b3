#pragma once
// The lines of an INI document, each classified, for the readers of the settings files, the INI
// importer and the keyboard layouts alike. Each reader keeps its own policy on top (encodings,
// which of two equal keys counts, what it does with lines it does not know); what differs in
// the syntax itself is an option here.
//
// A line is classified on its text trimmed of blanks and tabs: empty, a ";" comment, a section
// line "[name]", a "key = value" line with a key that is not empty, or none of these. The text
// is UTF-16, or UTF-8 (or any other ASCII-compatible encoding), as the reader decodes its file.

#include <cstddef>
#include <string_view>
#include <vector>

namespace vlt {

enum class IniLineKind { Blank, Comment, Section, Entry, Other };

struct IniSyntax {
    // What ends a line: LF alone (a CR before it belongs to the line end too), or any of CR,
    // LF and CR LF.
    enum class LineEnds { Lf, CrOrLf };
    // What a section line needs after its "[": nothing more, a "]" anywhere after it (the rest of
    // the line is ignored), or a "]" as its last character.
    enum class SectionClose { None, Anywhere, AtLineEnd };

    LineEnds lineEnds = LineEnds::Lf;
    SectionClose sectionClose = SectionClose::Anywhere;
};

template <typename Char>
struct IniLine {
    using View = std::basic_string_view<Char>;

    IniLineKind kind = IniLineKind::Other;
    std::size_t offset = 0;  // where the line starts in the document
    View text;               // the line as written, without its line end
    View end;                // its line end, empty on a last line without one
    // A section's name up to the first "]" (or the line end), or an entry's key: trimmed of
    // blanks and tabs.
    View name;
    // An entry's value: everything after the first "=", as written.
    View value;
};

// The lines of the document in order, as views into it. A document that ends with a line end
// has no empty line after it.
std::vector<IniLine<char>> readIniLines(std::string_view document, IniSyntax syntax);
std::vector<IniLine<char16_t>> readIniLines(std::u16string_view document, IniSyntax syntax);

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Removes a UTF-8 byte-order mark from the start of the bytes; true when there was one.
bool skipByteOrderMark(std::string_view& bytes);

}  // namespace vlt
