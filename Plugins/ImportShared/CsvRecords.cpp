#include "CsvRecords.h"

#include "ImportText.h"
#include "common/AsciiCase.h"
#include "common/Trim.h"

namespace vlt::import {

bool CsvRecords::atLineEnd() const {
    return pos_ >= text_.size() || text_[pos_] == u'\r' || text_[pos_] == u'\n';
}

void CsvRecords::skipLineEnd() {
    if (pos_ < text_.size() && text_[pos_] == u'\r') {
        ++pos_;
    }
    if (pos_ < text_.size() && text_[pos_] == u'\n') {
        ++pos_;
    }
}

void CsvRecords::skipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == u' ') {
        ++pos_;
    }
}

bool CsvRecords::next(CsvRecord& fields) {
    fields.clear();
    for (;;) {
        const std::size_t lineStart = pos_;
        skipBlanks();
        if (pos_ >= text_.size()) {
            return false;
        }
        if (!atLineEnd()) {
            pos_ = lineStart;
            break;
        }
        skipLineEnd();
    }
    std::u16string field;
    for (;;) {
        readField(field);
        if (fields.size() < kMaxCsvFields) {
            fields.push_back(std::move(field));
        }
        wipe(field);
        if (pos_ < text_.size() && text_[pos_] == u',') {
            ++pos_;
            continue;
        }
        skipLineEnd();
        return true;
    }
}

void CsvRecords::readField(std::u16string& out) {
    out.clear();
    skipBlanks();
    if (pos_ < text_.size() && text_[pos_] == u'"') {
        ++pos_;
        readQuoted(out);
        return;
    }
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != u',' && !atLineEnd()) {
        ++pos_;
    }
    std::size_t end = pos_;
    while (end > start && text_[end - 1] == u' ') {
        --end;
    }
    out.assign(text_.substr(start, end - start));
}

void CsvRecords::readQuoted(std::u16string& out) {
    while (pos_ < text_.size()) {
        const char16_t c = text_[pos_];
        const char16_t following = pos_ + 1 < text_.size() ? text_[pos_ + 1] : u'\0';
        if (quoting_ == CsvQuoting::Backslash && c == u'\\' &&
            (following == u'\\' || following == u'"')) {
            out += following;
            pos_ += 2;
            continue;
        }
        if (c == u'"') {
            if (quoting_ == CsvQuoting::Doubled && following == u'"') {
                out += u'"';
                pos_ += 2;
                continue;
            }
            std::size_t after = pos_ + 1;
            while (after < text_.size() && text_[after] == u' ') {
                ++after;
            }
            if (after >= text_.size() || text_[after] == u',' || text_[after] == u'\r' ||
                text_[after] == u'\n') {
                pos_ = after;
                return;  // the closing quote; any other quote is part of the text
            }
        }
        out += c;
        ++pos_;
    }
}

std::vector<CsvRecord> splitCsv(std::u16string_view text, CsvQuoting quoting) {
    std::vector<CsvRecord> records;
    CsvRecords reader(text, quoting);
    CsvRecord fields;
    while (reader.next(fields)) {
        records.push_back(std::move(fields));
    }
    return records;
}

void wipe(CsvRecord& record) {
    for (std::u16string& field : record) {
        wipe(field);
    }
    record.clear();
}

void wipe(std::vector<CsvRecord>& records) {
    for (CsvRecord& record : records) {
        wipe(record);
    }
    records.clear();
}

const std::u16string& csvField(const CsvRecord& record, std::size_t i) {
    static const std::u16string empty;
    return i < record.size() ? record[i] : empty;
}

bool csvHeaderIs(const CsvRecord& record, const std::vector<std::u16string_view>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (lowerAscii(trimBlanks(csvField(record, i))) != names[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace vlt::import
