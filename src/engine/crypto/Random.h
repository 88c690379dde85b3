#pragma once
// The process's ordinary pseudo-random generator (record IDs, round counts, the IV fallback).
// Not for secrets: IVs come from the cryptographic source first.

#include <cstdint>
#include <functional>

namespace vlt {

// Returns a value drawn uniformly from 0..max (both ends included), max >= 0.
using NumberSource = std::function<std::int64_t(std::int64_t max)>;

// A thread-safe generator seeded from the operating system.
NumberSource defaultNumberSource();

}  // namespace vlt
