#include "engine/view/GroupTree.h"

#include <algorithm>

namespace vlt {

std::vector<TreeItem> GroupTreeShape(const RecordList<Group>& groups) {
    std::vector<TreeItem> shape;
    shape.reserve(static_cast<std::size_t>(groups.count()) + 1);
    shape.push_back(TreeItem{0, -1, 0});
    // lastAtLevel[l] is the latest item at level l; since a level exceeds the one above by at
    // most one, the parent of a new item at level l is always lastAtLevel[l - 1].
    std::vector<int> lastAtLevel{0};
    for (const Group& group : groups) {
        const int above = shape.back().level;
        const int level = std::clamp(group.Depth, 1, std::min(above + 1, kMaxTreeLevel));
        const int item = static_cast<int>(shape.size());
        lastAtLevel.resize(static_cast<std::size_t>(level) + 1);
        shape.push_back(TreeItem{item, lastAtLevel[level - 1], level});
        lastAtLevel[level] = item;
    }
    return shape;
}

bool NormaliseDepths(RecordList<Group>& groups) {
    const std::vector<TreeItem> shape = GroupTreeShape(groups);
    bool changed = false;
    for (int i = 0; i < groups.count(); ++i) {
        Group& group = groups.at(i);
        const int level = shape[static_cast<std::size_t>(i) + 1].level;
        changed = changed || group.Depth != level;
        group.Depth = level;
    }
    return changed;
}

int SubtreeEnd(const RecordList<Group>& groups, int at) {
    const int level = groups.at(at).Depth;
    int end = at + 1;
    while (end < groups.count() && groups.at(end).Depth > level) {
        ++end;
    }
    return end;
}

}  // namespace vlt
