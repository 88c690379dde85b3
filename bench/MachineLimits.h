#pragma once
// What this machine can do at best with the bytes of one container, measured in the same run:
// bulk calls of the same libraries over the whole record area, no parsing and no records, once on
// one core and once split over as many threads as the container reader and writer use. The open
// and save figures are printed with their ratio to these.

#include <string>

namespace vlt::bench {

struct Limit {
    double ms = 0;
    bool ok = false;
};

struct Limits {
    Limit oneCore;
    Limit allCores;
    unsigned threads = 1;  // the threads of allCores
};

// Reading the file, one AES-256-CBC decryption over all record bytes and one CRC-32 over them.
// On all cores each worker reads, decrypts and checksums its own batches of the record area and
// the checksums are joined in file order. The best of a few tries each.
Limits OpenLimits(const std::string& file, unsigned threads);

// One AES-256-CBC encryption over the record bytes and one CRC-32 over them, then writing a file
// of the same size beside `file` and syncing it to disk. On all cores the workers encrypt and
// checksum batches while the calling thread writes the finished ones in order, as the writer
// does. The best of a few tries each.
Limits SaveLimits(const std::string& file, unsigned threads);

}  // namespace vlt::bench
