#pragma once
// The records of the program's own CSV layout. Every field is written in double quotes; the
// exporter doubles the quotes inside a field, but files written without that (the layout as it
// was first defined) hold them as they are. So a record is read in the first way that fits it:
//  1. CSV with doubled quotes, when it is exactly that: six quoted fields, every inner quote
//     doubled, single commas between them, nothing after the last;
//  2. the layout's own shape "f0","f1","f2","f3","f4","yyyy/mm/dd hh:ii:ss" up to a line end or
//     the end of the text, anchored on that date: fields 0 to 3 each end at the first ",", and
//     the comment takes the rest, quotes and commas included;
//  3. anything else by the general CSV rules (CsvRecords, doubled quoting).
// Line breaks inside fields are kept in all three. A field whose quotes all stand in adjacent
// pairs fits the first way, so each pair reads as one quote whichever way it was written.

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
    bool readDoubled(CsvRecord& fields);
    bool readAnchored(CsvRecord& fields);
    std::size_t anchorAtOrAfter(std::size_t from);
    bool isAnchor(std::size_t at) const;
    std::size_t pastLineEnd(std::size_t at) const;

    std::u16string_view text_;
    std::size_t pos_ = 0;
    // The first anchor at or after anchorFrom_ (npos: none), so that the text is searched once.
    std::size_t anchorFrom_ = std::u16string_view::npos;
    std::size_t anchor_ = std::u16string_view::npos;
};

// Every record of the text; the fields are wiped by the caller (they hold passwords).
std::vector<CsvRecord> splitOwnCsv(std::u16string_view text);

}  // namespace vlt::import
