#include "engine/vault/FreeMemory.h"

#include <cstdint>

#include "engine/text/Text.h"

namespace vlt {

int FreeMemoryEx(TraceLog& log, SecureBuffer& buffer) {
    constexpr std::string_view kProc = "FreeMemoryEx";
    if (!log.tracing()) {
        buffer.release();
        return 0;
    }
    auto address = static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(buffer.data()));
    log.Trace(u"Trying to free memory buffer: " + decimal(address), kProc);
    if (address == 0) {
        log.Trace(u"Not a valid buffer, aborted", kProc);
        return 0;
    }
    log.Trace(u"Freeing buffer: " + decimal(address), kProc);
    buffer.release();
    log.Trace(u"Buffer freed", kProc);
    return 0;
}

}  // namespace vlt
