#include "engine/crypto/Random.h"

#include <memory>
#include <mutex>
#include <random>

namespace vlt {

NumberSource defaultNumberSource() {
    struct State {
        std::mutex lock;
        std::mt19937_64 engine{std::random_device{}()};
    };
    auto state = std::make_shared<State>();
    return [state](std::int64_t max) -> std::int64_t {
        if (max <= 0) {
            return 0;
        }
        std::uniform_int_distribution<std::int64_t> dist(0, max);
        std::lock_guard guard(state->lock);
        return dist(state->engine);
    };
}

}  // namespace vlt
