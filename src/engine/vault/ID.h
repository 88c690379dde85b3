#pragma once
// The registry of IDs in use: groups, entries, attachments and loaded plugins share one ID space,
// so an ID names exactly one thing in the process. Kept in registration order, with a hash index
// beside it so that lookups stay constant-time in large vaults.

#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "engine/crypto/Random.h"

namespace vlt {

class IdRegistry {
  public:
    static constexpr std::int64_t kMaxId = 99'999'999;

    explicit IdRegistry(NumberSource source = defaultNumberSource());

    // Adds id unless it is already registered. Returns 0.
    int RegisterID(std::int32_t id);
    // 1 when id is registered, else 0.
    int ID_Exists(std::int32_t id) const;
    // Draws an unused ID in 1..99,999,999, registers and returns it. Never 0: the tree's root item
    // carries no ID, so 0 must never name a record.
    std::int32_t ID_New();
    // Removes id; 1 when it was registered, else 0.
    int ID_Free(std::int32_t id);
    // Forgets every ID (plugin IDs included). Returns 0.
    int ID_Clear();

    // Adds id unless it is already registered; true when it was added.
    bool tryRegister(std::int32_t id);
    // Room for n more IDs, so that registering a whole vault does not grow the index stepwise.
    void reserve(std::size_t n);
    // Takes over the IDs of `other` (which is left empty) in place of this registry's own.
    void replaceWith(IdRegistry& other);

    // The registered IDs in registration order.
    std::vector<std::int32_t> ids() const;
    std::size_t count() const;

  private:
    void compact();

    NumberSource source_;
    mutable std::mutex lock_;
    std::vector<std::int32_t> order_;
    std::vector<bool> live_;
    std::unordered_map<std::int32_t, std::size_t> position_;
};

}  // namespace vlt
