#include "IniSections.h"

#include "ImportText.h"
#include "common/AsciiCase.h"
#include "common/IniLines.h"
#include "common/IniNumber.h"

namespace vlt::import {

namespace {

// The key each text value runs up to: the key the exporter writes after it.
constexpr std::pair<std::u16string_view, std::u16string_view> kNextKey[] = {
    {u"name", u"icon"},       {u"groupname", u"account"}, {u"account", u"user"},
    {u"user", u"password"},   {u"password", u"url"},      {u"url", u"comment"},
    {u"comment", u"expires"},
};

std::u16string_view nextKeyOf(std::u16string_view key) {
    for (const auto& [text, next] : kNextKey) {
        if (text == key) {
            return next;
        }
    }
    return {};
}

// The lines of the file, CR, LF and CR LF alike ending one, with the exporter's section lines.
class ExportedLines {
  public:
    explicit ExportedLines(std::u16string_view text)
        : text_(text),
          lines_(readIniLines(
              text, IniSyntax{IniSyntax::LineEnds::CrOrLf, IniSyntax::SectionClose::AtLineEnd})) {}

    std::size_t size() const { return lines_.size(); }
    bool isSection(std::size_t i) const { return lines_[i].kind == IniLineKind::Section; }
    bool isFiller(std::size_t i) const {
        return lines_[i].kind == IniLineKind::Blank || lines_[i].kind == IniLineKind::Comment;
    }
    // The key of a key line in lower case, "" for any other line.
    std::u16string key(std::size_t i) const {
        return lines_[i].kind == IniLineKind::Entry ? lowerAscii(lines_[i].name) : std::u16string();
    }
    // A section line that the exporter wrote: the next line is the section's EntryType.
    bool startsRecord(std::size_t i) const {
        return isSection(i) && i + 1 < size() && key(i + 1) == u"entrytype";
    }
    // The text from `from` to the end of line `last`'s text, line ends included.
    std::u16string_view span(std::size_t from, std::size_t last) const {
        return text_.substr(from, lines_[last].offset + lines_[last].text.size() - from);
    }
    // Where the value of key line i starts: after the "=" and the one blank the layout puts there.
    std::size_t valueStart(std::size_t i) const {
        const IniLine<char16_t>& line = lines_[i];
        return line.offset + line.text.size() - line.value.size() + (line.value.starts_with(u' '));
    }

    // The last line of the text value on line i that runs up to the line of key `next`.
    std::size_t valueEnd(std::size_t i, std::u16string_view next) const {
        std::size_t j = i + 1;
        while (j < size() && !startsRecord(j) && key(j) != next) {
            ++j;
        }
        if (j < size() && !startsRecord(j)) {
            return j - 1;
        }
        while (j - 1 > i && isFiller(j - 1)) {
            --j;
        }
        return j - 1;
    }

  private:
    std::u16string_view text_;
    std::vector<IniLine<char16_t>> lines_;
};

}  // namespace

IniSection::~IniSection() {
    for (auto& key : keys) {
        wipe(key.second);
    }
}

const std::u16string& IniSection::text(std::u16string_view key) const {
    static const std::u16string empty;
    for (const auto& [name, value] : keys) {
        if (name == key) {
            return value;
        }
    }
    return empty;
}

std::int32_t IniSection::number(std::u16string_view key) const {
    return IniNumber(text(key));
}

std::vector<IniSection> readIniSections(std::u16string_view text) {
    const ExportedLines lines(text);
    std::vector<IniSection> sections;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines.isSection(i)) {
            sections.emplace_back();
            continue;
        }
        std::u16string key = lines.key(i);
        if (sections.empty() || key.empty()) {
            continue;
        }
        const std::size_t from = lines.valueStart(i);
        const std::u16string_view next = nextKeyOf(key);
        const std::size_t last = next.empty() ? i : lines.valueEnd(i, next);
        sections.back().keys.emplace_back(std::move(key), lines.span(from, last));
        i = last;
    }
    return sections;
}

}  // namespace vlt::import
