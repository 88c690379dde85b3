#include "ImportFile.h"

#include "ImportText.h"
#include "common/RegularFile.h"

namespace vlt::import {

static_assert(kMaxImportFileSize == std::uint64_t{256} << 20, "the too-large message names it");

ImportResult importFileBytes(const std::string& path, ImportSink& sink,
                             ImportResult (*readBytes)(std::string_view, ImportSink&)) {
    std::string bytes;
    switch (ReadRegularFile(path, bytes, kMaxImportFileSize)) {
        case FileRefusal::None:
            break;
        case FileRefusal::TooLarge:
            return refused(u"Error",
                           u"The file is too large and could not be read (256 MB at most).",
                           kIconError);
        default:
            return fileLocked();
    }
    WipeOnExit wipeBytes(bytes);
    return readBytes(bytes, sink);
}

}  // namespace vlt::import
