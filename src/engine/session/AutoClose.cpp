#include "engine/session/AutoClose.h"

#include "engine/container/Container.h"
#include "engine/vault/Engine.h"

namespace vlt {

void AutoCloseContainerTick(Engine& engine, std::int32_t cursorX, std::int32_t cursorY) {
    AutoClose& state = engine.AutoCloseState;
    const MainSettings& main = engine.settings.Main;
    if (main.AutoCloseContainer == 1) {
        if (cursorX != state.LastX || cursorY != state.LastY) {
            state.LastX = cursorX;
            state.LastY = cursorY;
            state.IdleSeconds = 0;
        }
        if (state.IdleSeconds >= main.AutoCloseSecs) {
            if (engine.busy()) {
                return;  // postponed, not dropped: the next tick tries again
            }
            state.IdleSeconds = 0;
            if (!engine.ContainerPath.empty()) {
                Engine::BusyGuard guard(engine);
                CloseContainer(engine, kCloseWithoutAsking);
                engine.desktop.SetStatusField(2, u"Container automatically closed (timeout)");
            }
        }
    } else {
        state.IdleSeconds = 0;
    }
    ++state.IdleSeconds;
}

}  // namespace vlt
