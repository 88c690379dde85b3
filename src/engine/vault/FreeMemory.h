#pragma once

#include "engine/crypto/SecureBuffer.h"
#include "engine/log/Logging.h"

namespace vlt {

// Releases a key or data buffer after wiping it over its whole allocated size, tracing each
// step. An empty buffer only traces. Returns 0.
int FreeMemoryEx(TraceLog& log, SecureBuffer& buffer);

}  // namespace vlt
