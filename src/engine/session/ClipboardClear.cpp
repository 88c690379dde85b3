#include "engine/session/ClipboardClear.h"

#include "engine/text/Text.h"
#include "engine/vault/Engine.h"

namespace vlt {

void ArmClipboardClear(ClipboardClear& state) {
    state.Counter = 0;
    state.Armed = 1;
}

void AutoClearClipboardTick(Engine& engine) {
    ClipboardClear& state = engine.ClipboardClearState;
    const MainSettings& main = engine.settings.Main;
    if (main.AutoClearClip == 1 && state.Armed == 1) {
        if (state.Counter >= main.AutoClearClipSecs) {
            state.Counter = 0;
            // What the user copied since from elsewhere is theirs, not ours to throw away.
            if (engine.desktop.ClipboardHoldsOwnText()) {
                engine.desktop.ClearClipboard();
            }
            engine.desktop.SetStatusField(2, u"Cleared clipboard contents...");
            state.Armed = 0;
        } else {
            engine.desktop.SetStatusField(2, u"Clearing clipboard in " +
                                                 decimal(main.AutoClearClipSecs - state.Counter) +
                                                 u" seconds...");
        }
    } else {
        state.Counter = 0;
        state.Armed = 0;
    }
    ++state.Counter;
}

}  // namespace vlt
