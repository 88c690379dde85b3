#include "common/IniLines.h"

#include <algorithm>
#include <utility>

#include "common/Trim.h"

namespace vlt {

namespace {

// The length of the line starting at `from`, and the length of its line end.
template <typename Char>
std::pair<std::size_t, std::size_t> lineAt(std::basic_string_view<Char> document, std::size_t from,
                                           IniSyntax::LineEnds ends) {
    using View = std::basic_string_view<Char>;
    const View rest = document.substr(from);
    if (ends == IniSyntax::LineEnds::Lf) {
        std::size_t length = rest.find(Char('\n'));
        std::size_t endLength = length == View::npos ? 0 : 1;
        length = length == View::npos ? rest.size() : length;
        if (length > 0 && rest[length - 1] == Char('\r')) {
            --length;
            ++endLength;
        }
        return {length, endLength};
    }
    const Char breaks[] = {Char('\r'), Char('\n')};
    const std::size_t length = std::min(rest.find_first_of(View(breaks, 2)), rest.size());
    const View end = rest.substr(length, 2);
    return {length, end.empty() ? 0 : end == View(breaks, 2) ? 2 : 1};
}

template <typename Char>
bool isSection(std::basic_string_view<Char> bare, IniSyntax::SectionClose close) {
    if (bare.empty() || bare.front() != Char('[')) {
        return false;
    }
    switch (close) {
        case IniSyntax::SectionClose::None:
            return true;
        case IniSyntax::SectionClose::Anywhere:
            return bare.find(Char(']')) != std::basic_string_view<Char>::npos;
        case IniSyntax::SectionClose::AtLineEnd:
            return bare.size() >= 2 && bare.back() == Char(']');
    }
    return false;
}

template <typename Char>
void classify(IniLine<Char>& line, IniSyntax syntax) {
    using View = std::basic_string_view<Char>;
    const View bare = trimBlanks(line.text, Blanks::SpacesAndTabs);
    const std::size_t equals = bare.find(Char('='));
    if (bare.empty()) {
        line.kind = IniLineKind::Blank;
    } else if (bare.front() == Char(';')) {
        line.kind = IniLineKind::Comment;
    } else if (isSection(bare, syntax.sectionClose)) {
        line.kind = IniLineKind::Section;
        line.name = trimBlanks(bare.substr(1, bare.find(Char(']')) - 1), Blanks::SpacesAndTabs);
    } else if (equals != View::npos &&
               !trimBlanks(bare.substr(0, equals), Blanks::SpacesAndTabs).empty()) {
        line.kind = IniLineKind::Entry;
        line.name = trimBlanks(bare.substr(0, equals), Blanks::SpacesAndTabs);
        line.value = line.text.substr(line.text.find(Char('=')) + 1);
    }
}

template <typename Char>
std::vector<IniLine<Char>> readLines(std::basic_string_view<Char> document, IniSyntax syntax) {
    std::vector<IniLine<Char>> lines;
    for (std::size_t at = 0; at < document.size();) {
        const auto [length, endLength] = lineAt(document, at, syntax.lineEnds);
        IniLine<Char> line;
        line.offset = at;
        line.text = document.substr(at, length);
        line.end = document.substr(at + length, endLength);
        classify(line, syntax);
        lines.push_back(line);
        at += length + endLength;
    }
    return lines;
}

}  // namespace

std::vector<IniLine<char>> readIniLines(std::string_view document, IniSyntax syntax) {
    return readLines(document, syntax);
}

std::vector<IniLine<char16_t>> readIniLines(std::u16string_view document, IniSyntax syntax) {
    return readLines(document, syntax);
}

bool skipByteOrderMark(std::string_view& bytes) {
    if (!bytes.starts_with(kUtf8ByteOrderMark)) {
        return false;
    }
    bytes.remove_prefix(kUtf8ByteOrderMark.size());
    return true;
}

}  // namespace vlt
