#include "engine/vault/ID.h"

namespace vlt {

IdRegistry::IdRegistry(NumberSource source) : source_(std::move(source)) {}

int IdRegistry::RegisterID(std::int32_t id) {
    tryRegister(id);
    return 0;
}

bool IdRegistry::tryRegister(std::int32_t id) {
    std::lock_guard guard(lock_);
    if (!position_.emplace(id, order_.size()).second) {
        return false;
    }
    order_.push_back(id);
    live_.push_back(true);
    return true;
}

void IdRegistry::reserve(std::size_t n) {
    std::lock_guard guard(lock_);
    order_.reserve(order_.size() + n);
    live_.reserve(live_.size() + n);
    position_.reserve(position_.size() + n);
}

void IdRegistry::replaceWith(IdRegistry& other) {
    if (&other == this) {
        return;
    }
    std::scoped_lock guard(lock_, other.lock_);
    order_ = std::move(other.order_);
    live_ = std::move(other.live_);
    position_ = std::move(other.position_);
    other.order_.clear();
    other.live_.clear();
    other.position_.clear();
}

int IdRegistry::ID_Exists(std::int32_t id) const {
    std::lock_guard guard(lock_);
    return position_.contains(id) ? 1 : 0;
}

std::int32_t IdRegistry::ID_New() {
    std::lock_guard guard(lock_);
    for (;;) {
        auto id = static_cast<std::int32_t>(source_(kMaxId));
        if (id != 0 && position_.emplace(id, order_.size()).second) {
            order_.push_back(id);
            live_.push_back(true);
            return id;
        }
    }
}

int IdRegistry::ID_Free(std::int32_t id) {
    std::lock_guard guard(lock_);
    auto it = position_.find(id);
    if (it == position_.end()) {
        return 0;
    }
    live_[it->second] = false;
    position_.erase(it);
    if (order_.size() > 64 && position_.size() < order_.size() / 2) {
        compact();
    }
    return 1;
}

int IdRegistry::ID_Clear() {
    std::lock_guard guard(lock_);
    order_.clear();
    live_.clear();
    position_.clear();
    return 0;
}

std::vector<std::int32_t> IdRegistry::ids() const {
    std::lock_guard guard(lock_);
    std::vector<std::int32_t> result;
    result.reserve(position_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) {
        if (live_[i]) {
            result.push_back(order_[i]);
        }
    }
    return result;
}

std::size_t IdRegistry::count() const {
    std::lock_guard guard(lock_);
    return position_.size();
}

// Drops the slots of freed IDs so that the ordered list does not grow without bound.
void IdRegistry::compact() {
    std::size_t out = 0;
    for (std::size_t i = 0; i < order_.size(); ++i) {
        if (live_[i]) {
            order_[out] = order_[i];
            position_[order_[out]] = out;
            ++out;
        }
    }
    order_.resize(out);
    live_.assign(out, true);
}

}  // namespace vlt
