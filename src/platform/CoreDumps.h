#pragma once
// A crash must never write the open vault to disk: a core dump holds the master password and
// every entry in clear text.

namespace vlt {

// Switches core dumps off for this process (no core file, and no other process of the user may
// read its memory through ptrace or /proc). Call before any secret exists. False when the system
// refused either step.
bool disableCoreDumps();

}  // namespace vlt
