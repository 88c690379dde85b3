#pragma once
// Closing the open container, without asking, once the user has been idle for a set time. A
// one-second timer of the shell calls the tick with the mouse position; the shell's event
// handling sets IdleSeconds to 0 on every user event.

#include <cstdint>

namespace vlt {

struct Engine;

struct AutoClose {
    std::int32_t LastX = 0;  // the mouse position seen at the last tick
    std::int32_t LastY = 0;
    std::int32_t IdleSeconds = 0;
};

// One second of AutoCloseContainerThread: with AutoCloseContainer on, a moved mouse restarts the
// idle count; after AutoCloseSecs idle seconds an open container is closed without asking and
// the status bar says "Container automatically closed (timeout)". While another operation runs
// (a load, a save, an editor, a plugin) nothing is torn down: the close waits for the first tick
// after it.
void AutoCloseContainerTick(Engine& engine, std::int32_t cursorX, std::int32_t cursorY);

}  // namespace vlt
