#pragma once
// Reading an input file whole. Import files are text of at most a few megabytes; anything past
// kMaxImportFileSize is refused rather than loaded.

#include <cstdint>
#include <string>

namespace vlt::import {

constexpr std::uint64_t kMaxImportFileSize = std::uint64_t{256} << 20;

// The file's bytes in out; false when it cannot be opened or read, is not a regular file, or is
// larger than kMaxImportFileSize.
bool readImportFile(const std::string& path, std::string& out);

}  // namespace vlt::import
