#pragma once
// Splits CSV text into records with one character state machine over the whole text, so that a
// quoted field may hold commas, quotes and line breaks of any kind.
//
// A field may be quoted (blanks before the opening quote are skipped). Inside quotes:
//  - Backslash quoting: "\\" is one backslash and "\"" one quote; any other backslash is kept.
//  - Doubled quoting: "" is one quote.
//  - A quote followed (after blanks) by a comma, a line end or the end of the text closes the
//    field; any other quote is kept as text. Line breaks are kept as written.
// An unquoted field runs to the next comma or line end, trimmed of blanks. A quote left open at
// the end of the text ends its field there. Lines holding only blanks are skipped.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vlt::import {

enum class CsvQuoting { Backslash, Doubled };

// Fields past this many in one record are dropped.
constexpr std::size_t kMaxCsvFields = 64;

using CsvRecord = std::vector<std::u16string>;

class CsvRecords {
  public:
    CsvRecords(std::u16string_view text, CsvQuoting quoting) : text_(text), quoting_(quoting) {}

    // The next record into fields (at least one field); false at the end of the text.
    bool next(CsvRecord& fields);
    // Where the next record starts (past the line end of the last one read).
    std::size_t position() const { return pos_; }

  private:
    void readField(std::u16string& out);
    void readQuoted(std::u16string& out);
    bool atLineEnd() const;
    void skipLineEnd();
    void skipBlanks();

    std::u16string_view text_;
    CsvQuoting quoting_;
    std::size_t pos_ = 0;
};

// Every record of the text; the fields are wiped by the caller (they hold passwords).
std::vector<CsvRecord> splitCsv(std::u16string_view text, CsvQuoting quoting);
void wipe(CsvRecord& record);
void wipe(std::vector<CsvRecord>& records);

// Field i, "" when the record is shorter.
const std::u16string& csvField(const CsvRecord& record, std::size_t i);

// True when fields 0.. of the record, lower-cased and trimmed of blanks, are exactly names.
bool csvHeaderIs(const CsvRecord& record, const std::vector<std::u16string_view>& names);

}  // namespace vlt::import
