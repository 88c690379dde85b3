#pragma once
// What this machine can do at best with the bytes of one container, measured in the same run:
// single-threaded bulk calls of the same libraries over the whole record area, no parsing and no
// records. The open and save figures are printed with their ratio to these.

#include <string>

namespace vlt::bench {

struct Limit {
    double ms = 0;
    bool ok = false;
};

// Reading the file into a buffer, one AES-256-CBC decryption over all record bytes and one
// CRC-32 over them. The best of a few tries.
Limit OpenLimit(const std::string& file);

// One AES-256-CBC encryption over the record bytes and one CRC-32 over them, then writing a file
// of the same size beside `file` and syncing it to disk. The best of a few tries.
Limit SaveLimit(const std::string& file);

}  // namespace vlt::bench
