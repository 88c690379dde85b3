#include "OwnCsvRecords.h"

#include <algorithm>

#include "ImportText.h"

namespace vlt::import {

namespace {

constexpr std::size_t kFields = 6;
constexpr std::size_t kNone = std::u16string_view::npos;
constexpr std::u16string_view kSeparator = u"\",\"";
constexpr std::u16string_view kDateShape = u"0000/00/00 00:00:00";

bool isLineEnd(char16_t c) {
    return c == u'\r' || c == u'\n';
}

// The readers of the first two ways take the record at the start of `part` into fields, or only
// check it when fields is null. They return how much of part the record takes (up to its line
// end), or kNone when it is not of their way.

std::size_t readDoubled(std::u16string_view part, CsvRecord* fields) {
    auto fail = [fields] {
        if (fields != nullptr) {
            wipe(*fields);
        }
        return kNone;
    };
    std::size_t at = 0;
    for (std::size_t count = 1;; ++count) {
        if (count > kFields || at >= part.size() || part[at] != u'"') {
            return fail();
        }
        std::u16string* field = fields != nullptr ? &fields->emplace_back() : nullptr;
        for (++at;; ++at) {
            if (at >= part.size()) {
                return fail();
            }
            if (part[at] == u'"') {
                if (at + 1 >= part.size() || part[at + 1] != u'"') {
                    break;
                }
                ++at;
            }
            if (field != nullptr) {
                *field += part[at];
            }
        }
        ++at;  // the closing quote
        if (at < part.size() && part[at] == u',') {
            ++at;
            continue;
        }
        if (count != kFields || (at < part.size() && !isLineEnd(part[at]))) {
            return fail();
        }
        return at;
    }
}

// "," + date + quote, then a line end or the end of the part.
bool isAnchor(std::u16string_view part, std::size_t at) {
    const std::size_t date = at + kSeparator.size();
    const std::size_t end = date + kDateShape.size();
    if (end >= part.size() || part[end] != u'"' ||
        (end + 1 < part.size() && !isLineEnd(part[end + 1]))) {
        return false;
    }
    for (std::size_t i = 0; i < kDateShape.size(); ++i) {
        const char16_t c = part[date + i];
        const bool fits = kDateShape[i] == u'0' ? c >= u'0' && c <= u'9' : c == kDateShape[i];
        if (!fits) {
            return false;
        }
    }
    return true;
}

std::size_t readAnchored(std::u16string_view part, CsvRecord* fields) {
    if (part.empty() || part[0] != u'"') {
        return kNone;
    }
    std::size_t anchor = part.find(kSeparator, 1);
    while (anchor != kNone && !isAnchor(part, anchor)) {
        anchor = part.find(kSeparator, anchor + 1);
    }
    if (anchor == kNone) {
        return kNone;
    }
    std::u16string_view rest = part.substr(1, anchor - 1);
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t end = rest.find(kSeparator);
        if (end == kNone) {
            if (fields != nullptr) {
                wipe(*fields);
            }
            return kNone;
        }
        if (fields != nullptr) {
            fields->emplace_back(rest.substr(0, end));
        }
        rest.remove_prefix(end + kSeparator.size());
    }
    const std::size_t date = anchor + kSeparator.size();
    if (fields != nullptr) {
        fields->emplace_back(rest);
        fields->emplace_back(part.substr(date, kDateShape.size()));
    }
    return date + kDateShape.size() + 1;
}

// The first way, else the second.
std::size_t readLayout(std::u16string_view part, CsvRecord* fields) {
    const std::size_t used = readDoubled(part, fields);
    return used != kNone ? used : readAnchored(part, fields);
}

// The whole text as the exporter writes it: records of the first way one after another (empty
// lines between them allowed), every field taken up to its closing quote, line breaks included.
// False, with records left empty, when any part of the text is not of that way.
bool readAllDoubled(std::u16string_view text, std::vector<CsvRecord>& records) {
    for (std::size_t at = 0; at < text.size();) {
        if (isLineEnd(text[at])) {
            ++at;
            continue;
        }
        CsvRecord fields;
        const std::size_t used = readDoubled(text.substr(at), &fields);
        if (used == kNone) {
            wipe(records);
            return false;
        }
        records.push_back(std::move(fields));
        at += used;
    }
    return true;
}

bool quotesBalance(std::u16string_view line) {
    return std::count(line.begin(), line.end(), u'"') % 2 == 0;
}

}  // namespace

std::size_t OwnCsvRecords::lineEnd(std::size_t at) const {
    return std::min(text_.find_first_of(u"\r\n", at), text_.size());
}

std::size_t OwnCsvRecords::pastLineEnd(std::size_t at) const {
    if (at < text_.size() && text_[at] == u'\r') {
        ++at;
    }
    if (at < text_.size() && text_[at] == u'\n') {
        ++at;
    }
    return at;
}

std::size_t OwnCsvRecords::runOnEnd(std::size_t end) const {
    while (end < text_.size()) {
        const std::size_t next = pastLineEnd(end);
        const std::size_t nextEnd = lineEnd(next);
        const std::u16string_view line = text_.substr(next, nextEnd - next);
        if (readLayout(line, nullptr) != kNone) {
            break;  // a whole record by itself
        }
        end = nextEnd;
        if (!quotesBalance(line)) {
            break;  // the quotes balance with this line
        }
    }
    return end;
}

bool OwnCsvRecords::next(CsvRecord& fields) {
    fields.clear();
    // Lines of blanks only hold no record.
    for (std::size_t at = pos_;; pos_ = at = pastLineEnd(at)) {
        while (at < text_.size() && text_[at] == u' ') {
            ++at;
        }
        if (at >= text_.size()) {
            return false;
        }
        if (!isLineEnd(text_[at])) {
            break;
        }
    }
    const std::size_t end = lineEnd(pos_);
    std::u16string_view part = text_.substr(pos_, end - pos_);
    std::size_t used = readLayout(part, &fields);
    if (used == kNone && !quotesBalance(part)) {
        part = text_.substr(pos_, runOnEnd(end) - pos_);
        used = readLayout(part, &fields);
    }
    if (used == kNone) {
        CsvRecords rest(part, CsvQuoting::Doubled);
        rest.next(fields);
        used = rest.position();
    }
    pos_ = pastLineEnd(pos_ + used);
    return true;
}

std::vector<CsvRecord> splitOwnCsv(std::u16string_view text) {
    std::vector<CsvRecord> records;
    if (readAllDoubled(text, records)) {
        return records;
    }
    OwnCsvRecords reader(text);
    for (CsvRecord fields; reader.next(fields);) {
        records.push_back(std::move(fields));
    }
    return records;
}

}  // namespace vlt::import
