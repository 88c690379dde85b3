#include "IniSections.h"

#include "ImportText.h"
#include "engine/text/Text.h"

namespace vlt::import {

namespace {

// One line of the file: where its text starts and ends, before its line end.
struct Line {
    std::size_t start;
    std::size_t end;
};

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

class IniLines {
  public:
    explicit IniLines(std::u16string_view text) : text_(text) {
        for (std::size_t pos = 0; pos < text.size();) {
            std::size_t end = text.find_first_of(u"\r\n", pos);
            if (end == std::u16string_view::npos) {
                end = text.size();
            }
            lines_.push_back(Line{pos, end});
            pos = end;
            if (pos < text.size() && text[pos] == u'\r') {
                ++pos;
            }
            if (pos < text.size() && text[pos] == u'\n') {
                ++pos;
            }
        }
    }

    std::size_t size() const { return lines_.size(); }
    std::u16string_view line(std::size_t i) const {
        return text_.substr(lines_[i].start, lines_[i].end - lines_[i].start);
    }
    std::u16string_view bare(std::size_t i) const { return trimBlanksTabs(line(i)); }
    bool isSection(std::size_t i) const {
        const std::u16string_view b = bare(i);
        return b.size() >= 2 && b.front() == u'[' && b.back() == u']';
    }
    bool isFiller(std::size_t i) const { return bare(i).empty() || bare(i).front() == u';'; }
    // The key of a key line in lower case, "" for any other line.
    std::u16string key(std::size_t i) const {
        if (isFiller(i) || isSection(i)) {
            return {};
        }
        const std::u16string_view l = line(i);
        const std::size_t equals = l.find(u'=');
        return equals == std::u16string_view::npos
                   ? std::u16string()
                   : lowerAscii(trimBlanksTabs(l.substr(0, equals)));
    }
    // A section line that the exporter wrote: the next line is the section's EntryType.
    bool startsRecord(std::size_t i) const {
        return isSection(i) && i + 1 < size() && key(i + 1) == u"entrytype";
    }
    // The text from `from` to the end of line `last`'s text, line ends included.
    std::u16string_view span(std::size_t from, std::size_t last) const {
        return text_.substr(from, lines_[last].end - from);
    }
    std::size_t valueStart(std::size_t i) const {
        std::size_t at = lines_[i].start + line(i).find(u'=') + 1;
        if (at < lines_[i].end && text_[at] == u' ') {
            ++at;
        }
        return at;
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
    std::vector<Line> lines_;
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
    const IniLines lines(text);
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
