#pragma once
// Sorting the selected group's entries by one entry-list column. The order is stored: it is the
// order of Entries, which the list shows and the container keeps.

#include <cstdint>

namespace vlt {

struct Engine;

enum SortDirection : std::int32_t { kSortAscending = 0, kSortDescending = 1 };

// Sorts the entries of the group selected in the tree by `column` (0-8) in `direction`, stably
// in both directions; the group's entries fill the positions in Entries that they held before,
// and other groups' entries stay where they are. Refreshes the entry list unless the group has
// no entries; with no group selected (or the root item) nothing happens. Returns 0.
int SortEntries(Engine& engine, std::int32_t column, std::int32_t direction);

// The direction the sort command of `column` sorts in now: ascending the first time, then
// alternating. Flips the column's flag in the engine's SortDirections.
std::int32_t NextSortDirection(Engine& engine, int column);

}  // namespace vlt
