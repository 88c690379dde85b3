#pragma once
// Reading an input file whole. Import files are text of at most a few megabytes; anything past
// kMaxImportFileSize is refused rather than loaded.

#include <cstdint>
#include <string>
#include <string_view>

#include "ImportResult.h"

namespace vlt::import {

constexpr std::uint64_t kMaxImportFileSize = std::uint64_t{256} << 20;

class ImportSink;

// Reads the file at `path` and hands its bytes to `readBytes`; the bytes are wiped afterwards.
// Anything but a regular file is refused unopened, a file past kMaxImportFileSize unread as too
// large; any other file that cannot be read is reported as locked.
ImportResult importFileBytes(const std::string& path, ImportSink& sink,
                             ImportResult (*readBytes)(std::string_view, ImportSink&));

}  // namespace vlt::import
