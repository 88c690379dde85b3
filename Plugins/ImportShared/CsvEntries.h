#pragma once
// The CSV importers' last step: one entry per record after the header line, never expiring,
// with the progress bar following. The records are wiped afterwards (they hold passwords).

#include <vector>

#include "CsvRecords.h"
#include "ImportResult.h"
#include "ImportSink.h"

namespace vlt::import {

// fill(record, entry) sets the entry's group and fields from one record.
template <typename Fill>
ImportResult addCsvEntries(std::vector<CsvRecord>& records, ImportSink& sink, Fill fill) {
    const std::size_t total = records.size() - 1;
    for (std::size_t i = 1; i < records.size(); ++i) {
        EntryRecord entry;
        fill(records[i], entry);
        entry.Expires = 0;
        sink.addEntry(entry);
        sink.progressOf(i, total);
    }
    wipe(records);
    return importedSuccessfully();
}

}  // namespace vlt::import
