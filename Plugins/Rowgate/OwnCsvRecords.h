#pragma once
// The records of the program's own CSV layout. Every field is written in double quotes; the
// exporter doubles the quotes inside a field, but files written without that (the layout as it
// was first defined) hold them as they are.
//
// A text that is wholly of the exporter's kind (every record six quoted fields, every inner
// quote doubled, single commas between them, each record ending at a line end or the end of the
// text) is read as such, a line break inside quotes belonging to its field: that is the one
// reading of what the exporter writes, whatever its fields hold. Any other text is read record
// by record, each in the first way that fits it:
//  1. CSV with doubled quotes, when it is exactly that: six quoted fields, every inner quote
//     doubled, single commas between them, nothing after the last;
//  2. the layout's own shape "f0","f1","f2","f3","f4","yyyy/mm/dd hh:ii:ss" up to a line end or
//     the end of its lines, anchored on that date: fields 0 to 3 each end at the first ",", and
//     the comment takes the rest, quotes and commas included;
//  3. anything else by the general CSV rules (CsvRecords, doubled quoting).
// Line breaks inside fields are kept in all three. A field whose quotes all stand in adjacent
// pairs fits the first way, so each pair reads as one quote whichever way it was written.
//
// A record is read from its own lines only, so that a short or broken one never takes the next:
// a line that is a whole record by itself (the first or second way) or whose quotes balance is
// one record; only a line whose quotes do not balance runs on, over the lines that follow until
// the quotes balance, but never over a line that is a whole record by itself.

#include <cstddef>
#include <string_view>
#include <vector>

#include "CsvRecords.h"

namespace vlt::import {

class OwnCsvRecords {
  public:
    explicit OwnCsvRecords(std::u16string_view text) : text_(text) {}

    // The next record into fields (at least one field); false at the end of the text.
    bool next(CsvRecord& fields);

  private:
    std::size_t lineEnd(std::size_t at) const;
    std::size_t pastLineEnd(std::size_t at) const;
    // Where a record whose first line ends at `end` and leaves a quote open ends at the latest:
    // at the end of the line that balances its quotes, or of the last line before a whole
    // record, or at the end of the text.
    std::size_t runOnEnd(std::size_t end) const;

    std::u16string_view text_;
    std::size_t pos_ = 0;
};

// Every record of the text, wholly of the exporter's kind or else record by record; the fields are
// wiped by the caller (they hold passwords).
std::vector<CsvRecord> splitOwnCsv(std::u16string_view text);

}  // namespace vlt::import
