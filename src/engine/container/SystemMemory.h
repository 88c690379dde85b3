#pragma once
// How much memory the system could still give: a file whose records alone need more is refused
// before anything is read, instead of ending the program half-way through loading it.

#include <cstdint>

namespace vlt {

// Available physical memory plus free swap, in bytes; the largest value when it cannot be told.
std::uint64_t AvailableMemory();

}  // namespace vlt
