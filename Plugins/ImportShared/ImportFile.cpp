#include "ImportFile.h"

#include "ImportText.h"
#include "common/RegularFile.h"

namespace vlt::import {

bool readImportFile(const std::string& path, std::string& out) {
    return ReadRegularFile(path, out, kMaxImportFileSize) == FileRefusal::None;
}

ImportResult importFileBytes(const std::string& path, ImportSink& sink,
                             ImportResult (*readBytes)(std::string_view, ImportSink&)) {
    std::string bytes;
    if (!readImportFile(path, bytes)) {
        return fileLocked();
    }
    WipeOnExit wipeBytes(bytes);
    return readBytes(bytes, sink);
}

}  // namespace vlt::import
