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

// Every key the layout writes, groups' and entries' alike.
constexpr std::u16string_view kLayoutKeys[] = {
    u"entrytype",
    u"groupid",
    u"depth",
    u"name",
    u"icon",
    u"id",
    u"groupname",
    u"account",
    u"user",
    u"password",
    u"url",
    u"comment",
    u"expires",
    u"customforeground",
    u"foregroundcolor",
    u"custombackground",
    u"backgroundcolor",
    u"creationdate",
    u"accessdate",
    u"modificationdate",
    u"expirationdate",
};
constexpr std::u16string_view kComment = u"comment";
constexpr std::u16string_view kExpires = u"expires";

// The keys of the layout one record has set so far, by their place in kLayoutKeys.
using SeenKeys = std::bitset<std::size(kLayoutKeys)>;

// The place of a key in kLayoutKeys, or none.
constexpr std::optional<std::size_t> layoutKey(std::u16string_view key) {
    for (std::size_t k = 0; k < std::size(kLayoutKeys); ++k) {
        if (kLayoutKeys[k] == key) {
            return k;
        }
    }
    return std::nullopt;
}

constexpr std::size_t kExpiresKey = *layoutKey(kExpires);

// The lines of the file, CR, LF and CR LF alike ending one, with the exporter's section lines.
class ExportedLines {
  public:
    explicit ExportedLines(std::u16string_view text)
        : text_(text),
          lines_(readIniLines(
              text, IniSyntax{IniSyntax::LineEnds::CrOrLf, IniSyntax::SectionClose::AtLineEnd})),
          startsRecord_(lines_.size()) {
        // From the end backwards: whether the next line that is neither blank nor a comment
        // sets a key of the layout, or no such line follows.
        bool keyFollows = true;
        for (std::size_t i = lines_.size(); i-- > 0;) {
            if (isSection(i)) {
                startsRecord_[i] = keyFollows;
            }
            if (!isFiller(i)) {
                keyFollows = layoutKey(key(i)).has_value();
            }
        }
    }

    std::size_t size() const { return lines_.size(); }
    bool isSection(std::size_t i) const { return lines_[i].kind == IniLineKind::Section; }
    bool startsRecord(std::size_t i) const { return startsRecord_[i]; }
    // The key of a key line in lower case, "" for any other line.
    std::u16string key(std::size_t i) const {
        return lines_[i].kind == IniLineKind::Entry ? lowerAscii(lines_[i].name) : std::u16string();
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
    // The last line of the comment on line i: the line before the next "Expires" key line, or
    // line i itself when the next record starts (or the file ends) first.
    std::size_t commentEnd(std::size_t i) const {
        for (std::size_t j = i + 1; j < size() && !startsRecord(j); ++j) {
            if (key(j) == kExpires) {
                return j - 1;
            }
        }
        return i;
    }

  private:
    bool isFiller(std::size_t i) const {
        return lines_[i].kind == IniLineKind::Blank || lines_[i].kind == IniLineKind::Comment;
    }

    std::u16string_view text_;
    std::vector<IniLine<char16_t>> lines_;
    std::vector<bool> startsRecord_;
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
    IniSection* record = nullptr;  // none before the first record and in a foreign section
    SeenKeys seen;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines.isSection(i)) {
            record = lines.startsRecord(i) ? &sections.emplace_back() : nullptr;
            seen.reset();
            continue;
        }
        std::u16string key = lines.key(i);
        const std::optional<std::size_t> k = layoutKey(key);
        if (record == nullptr || !k || seen.test(*k)) {
            continue;
        }
        seen.set(*k);
        const bool runsOn = key == kComment && !seen.test(kExpiresKey);
        const std::size_t last = runsOn ? lines.commentEnd(i) : i;
        record->keys.emplace_back(std::move(key), lines.span(lines.valueStart(i), last));
        i = last;
    }
    return sections;
}

}  // namespace vlt::import
