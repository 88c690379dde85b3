#pragma once
// The shape of the group tree. The vault keeps no parent links: the tree is Groups read in
// order, each group's Depth asking for its level, and the view places every item at most one
// level below the item above it.

#include <cstdint>
#include <vector>

#include "engine/vault/RecordList.h"
#include "engine/vault/Records.h"

namespace vlt {

struct TreeItem {
    int item = 0;         // tree index: 0 the container's root item, i + 1 the group at index i
    int parentItem = -1;  // -1 for the root item
    int level = 0;        // 0 for the root item, 1 for top-level groups
};

// One element per tree item, the root item first, so that result[i] describes tree item i.
// A group's level is its Depth, but never more than one below the item above it and never
// less than 1: every group sits below the root item, also when its Depth is 0 or negative.
// The parent is the nearest item above with a smaller level.
// The deepest level shown. Tree views walk their levels recursively, so a file nesting its groups
// tens of thousands deep would exhaust the stack; deeper groups are shown at this level.
inline constexpr int kMaxTreeLevel = 256;

std::vector<TreeItem> GroupTreeShape(const RecordList<Group>& groups);

// Makes every group's Depth the level the tree shows it at (1 <= Depth <= Depth above + 1), so
// that the levels the tree operations read are the ones the user sees, whatever a file or an
// import stored. True when a Depth changed.
bool NormaliseDepths(RecordList<Group>& groups);

// With normalised depths: one past the last group of the subtree of the group at index `at`
// (the group and the run after it that lies deeper).
int SubtreeEnd(const RecordList<Group>& groups, int at);

}  // namespace vlt
