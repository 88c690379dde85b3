#include "IniSections.h"

#include <bitset>
#include <iterator>
#include <optional>

#include "ImportText.h"
#include "common/AsciiCase.h"
#include "common/IniLines.h"
#include "common/IniNumber.h"

namespace vlt::import {

namespace {

// Every key the layout writes, groups' and entries' alike, and whether it holds a text.
struct LayoutKey {
    std::u16string_view name;
    bool text;
};
constexpr LayoutKey kLayoutKeys[] = {
    {u"entrytype", false},
    {u"groupid", false},
    {u"depth", false},
    {u"name", true},
    {u"icon", false},
    {u"id", false},
    {u"groupname", true},
    {u"account", true},
    {u"user", true},
    {u"password", true},
    {u"url", true},
    {u"comment", true},
    {u"expires", false},
    {u"customforeground", false},
    {u"foregroundcolor", false},
    {u"custombackground", false},
    {u"backgroundcolor", false},
    {u"creationdate", false},
    {u"accessdate", false},
    {u"modificationdate", false},
    {u"expirationdate", false},
};

// The keys of the layout one section has set so far, by their place in kLayoutKeys.
using SeenKeys = std::bitset<std::size(kLayoutKeys)>;

// The place of a key in kLayoutKeys, or none.
std::optional<std::size_t> layoutKey(std::u16string_view key) {
    for (std::size_t k = 0; k < std::size(kLayoutKeys); ++k) {
        if (kLayoutKeys[k].name == key) {
            return k;
        }
    }
    return std::nullopt;
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
    // A section line that starts a record: a key line or the end of the file follows it.
    bool startsRecord(std::size_t i) const {
        return isSection(i) && (i + 1 == size() || lines_[i + 1].kind == IniLineKind::Entry);
    }
    // A line that sets a key of the layout which the section has not set yet.
    bool setsUnseenKey(std::size_t i, const SeenKeys& seen) const {
        const std::optional<std::size_t> k = layoutKey(key(i));
        return k && !seen.test(*k);
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

    // The last line of the text value on line i: the line before one that sets a key the
    // section has not set yet, or else before the next record, less the filler lines there.
    std::size_t valueEnd(std::size_t i, const SeenKeys& seen) const {
        std::size_t j = i + 1;
        while (j < size() && !startsRecord(j) && !setsUnseenKey(j, seen)) {
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
    SeenKeys seen;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines.isSection(i)) {
            sections.emplace_back();
            seen.reset();
            continue;
        }
        std::u16string key = lines.key(i);
        if (sections.empty() || key.empty()) {
            continue;
        }
        const std::optional<std::size_t> k = layoutKey(key);
        if (k) {
            seen.set(*k);
        }
        const std::size_t from = lines.valueStart(i);
        const std::size_t last = k && kLayoutKeys[*k].text ? lines.valueEnd(i, seen) : i;
        sections.back().keys.emplace_back(std::move(key), lines.span(from, last));
        i = last;
    }
    return sections;
}

}  // namespace vlt::import
