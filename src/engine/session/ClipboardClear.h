#pragma once
// Emptying the clipboard a set time after the program copied a field into it. A one-second
// timer of the shell calls the tick; the countdown shows in the status bar.

#include <cstdint>

namespace vlt {

struct Engine;

struct ClipboardClear {
    std::int32_t Armed = 0;    // 1 from a copy until the clipboard was cleared
    std::int32_t Counter = 0;  // seconds since the copy
};

// A copy restarts the countdown.
void ArmClipboardClear(ClipboardClear& state);

// One second of AutoClearClipboardThread: with AutoClearClip on and a copy pending, shows
// "Clearing clipboard in N seconds..." for N = AutoClearClipSecs down to 1, then empties the
// clipboard, when it still holds the copied text, and shows "Cleared clipboard contents...".
void AutoClearClipboardTick(Engine& engine);

}  // namespace vlt
