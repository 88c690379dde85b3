#include "OwnCsvRecords.h"

#include "ImportText.h"

namespace vlt::import {

namespace {

constexpr std::size_t kFields = 6;
constexpr std::u16string_view kSeparator = u"\",\"";
constexpr std::u16string_view kDateShape = u"0000/00/00 00:00:00";

bool isLineEnd(char16_t c) {
    return c == u'\r' || c == u'\n';
}

}  // namespace

std::size_t OwnCsvRecords::pastLineEnd(std::size_t at) const {
    if (at < text_.size() && text_[at] == u'\r') {
        ++at;
    }
    if (at < text_.size() && text_[at] == u'\n') {
        ++at;
    }
    return at;
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
    if (readDoubled(fields) || readAnchored(fields)) {
        return true;
    }
    CsvRecords rest(text_.substr(pos_), CsvQuoting::Doubled);
    rest.next(fields);
    pos_ += rest.position();
    return true;
}

bool OwnCsvRecords::readDoubled(CsvRecord& fields) {
    std::size_t at = pos_;
    auto fail = [&fields] {
        wipe(fields);
        return false;
    };
    for (;;) {
        if (fields.size() == kFields || at >= text_.size() || text_[at] != u'"') {
            return fail();
        }
        std::u16string& field = fields.emplace_back();
        for (++at;; ++at) {
            if (at >= text_.size()) {
                return fail();
            }
            if (text_[at] == u'"') {
                if (at + 1 >= text_.size() || text_[at + 1] != u'"') {
                    break;
                }
                ++at;
            }
            field += text_[at];
        }
        ++at;  // the closing quote
        if (at < text_.size() && text_[at] == u',') {
            ++at;
            continue;
        }
        if (fields.size() != kFields || (at < text_.size() && !isLineEnd(text_[at]))) {
            return fail();
        }
        pos_ = pastLineEnd(at);
        return true;
    }
}

bool OwnCsvRecords::isAnchor(std::size_t at) const {
    // "," + date + quote, then a line end or the end of the text.
    const std::size_t date = at + kSeparator.size();
    const std::size_t end = date + kDateShape.size();
    if (end >= text_.size() || text_[end] != u'"' ||
        (end + 1 < text_.size() && !isLineEnd(text_[end + 1]))) {
        return false;
    }
    for (std::size_t i = 0; i < kDateShape.size(); ++i) {
        const char16_t c = text_[date + i];
        const bool fits = kDateShape[i] == u'0' ? c >= u'0' && c <= u'9' : c == kDateShape[i];
        if (!fits) {
            return false;
        }
    }
    return true;
}

std::size_t OwnCsvRecords::anchorAtOrAfter(std::size_t from) {
    if (anchorFrom_ <= from && (anchor_ == std::u16string_view::npos || from <= anchor_)) {
        return anchor_;
    }
    anchorFrom_ = from;
    for (anchor_ = text_.find(kSeparator, from); anchor_ != std::u16string_view::npos;
         anchor_ = text_.find(kSeparator, anchor_ + 1)) {
        if (isAnchor(anchor_)) {
            break;
        }
    }
    return anchor_;
}

bool OwnCsvRecords::readAnchored(CsvRecord& fields) {
    if (text_[pos_] != u'"') {
        return false;
    }
    const std::size_t anchor = anchorAtOrAfter(pos_ + 1);
    if (anchor == std::u16string_view::npos) {
        return false;
    }
    std::u16string_view rest = text_.substr(pos_ + 1, anchor - pos_ - 1);
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t end = rest.find(kSeparator);
        if (end == std::u16string_view::npos) {
            wipe(fields);
            return false;
        }
        fields.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end + kSeparator.size());
    }
    fields.emplace_back(rest);
    const std::size_t date = anchor + kSeparator.size();
    fields.emplace_back(text_.substr(date, kDateShape.size()));
    pos_ = pastLineEnd(date + kDateShape.size() + 1);
    return true;
}

std::vector<CsvRecord> splitOwnCsv(std::u16string_view text) {
    std::vector<CsvRecord> records;
    OwnCsvRecords reader(text);
    for (CsvRecord fields; reader.next(fields);) {
        records.push_back(std::move(fields));
    }
    return records;
}

}  // namespace vlt::import
