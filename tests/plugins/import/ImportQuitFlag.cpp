// The window code is compiled into the import suite, so the suite stands in for the SDK's quit
// flag.
#include <atomic>

#include "ImportTestSupport.h"

namespace vlt::import::test {
std::atomic<std::int32_t> quitFlag{0};
}

std::int32_t Plugin_QuitRequested() {
    return vlt::import::test::quitFlag.load();
}
