#include "engine/vault/Engine.h"

namespace vlt {

Engine::Engine(Desktop& desktopRef, NumberSource numberSource)
    : desktop(desktopRef), numbers(numberSource), ids(numberSource) {
    log.setEnabled([this] { return settings.Main.LogActions == 1; });
    log.setClock([this] { return clock(); });
}

}  // namespace vlt
