#include "engine/vault/GroupTreeEdits.h"

#include <string>

#include "common/Trim.h"
#include "engine/view/GroupTree.h"

namespace vlt {

namespace {

// Lower case for the scripts whose capitals sit at a fixed distance from their small letters:
// Latin, Latin-1, Greek and Cyrillic.
char16_t lowerLetter(char16_t c) {
    const bool shiftBy20 = (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
                           (c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F);
    if (shiftBy20) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= 0x400 && c <= 0x40F) {
        return static_cast<char16_t>(c + 0x50);
    }
    return c;
}

std::u16string comparable(std::u16string_view name) {
    std::u16string text(trimBlanks(name));
    for (char16_t& c : text) {
        c = lowerLetter(c);
    }
    return text;
}

// Moves the `length` groups from `from` on so that they start at index `to` of the result, in
// their order.
void moveBlock(RecordList<Group>& groups, int from, int length, int to) {
    for (int k = 0; k < length; ++k) {
        if (to < from) {
            groups.move(from + k, to + k);
        } else {
            groups.move(from, to + length - 1);
        }
    }
}

bool firstChild(const RecordList<Group>& groups, int at) {
    return at == 0 || groups.at(at - 1).Depth < groups.at(at).Depth;
}

}  // namespace

bool Group_Exists(const RecordList<Group>& groups, std::u16string_view name) {
    const std::u16string wanted = comparable(name);
    for (const Group& group : groups) {
        if (comparable(group.Name) == wanted) {
            return true;
        }
    }
    return false;
}

GroupPlace NewGroupPlace(const RecordList<Group>& groups, int selectedItem) {
    if (selectedItem <= 0 || selectedItem > groups.count()) {
        return {groups.count(), 1};
    }
    const int at = selectedItem - 1;
    return {SubtreeEnd(groups, at), groups.at(at).Depth + 1};
}

int MoveGroupUp(RecordList<Group>& groups, int at) {
    if (firstChild(groups, at)) {
        return -1;
    }
    // Levels drop by at most one per item upward, so the previous sibling comes before any
    // item of a smaller level.
    const int level = groups.at(at).Depth;
    int target = at - 1;
    while (groups.at(target).Depth > level) {
        --target;
    }
    moveBlock(groups, at, SubtreeEnd(groups, at) - at, target);
    return target;
}

int MoveGroupDown(RecordList<Group>& groups, int at) {
    const int next = SubtreeEnd(groups, at);
    if (next == groups.count() || groups.at(next).Depth < groups.at(at).Depth) {
        return -1;
    }
    const int length = next - at;
    const int target = SubtreeEnd(groups, next) - length;
    moveBlock(groups, at, length, target);
    return target;
}

int MoveGroupLeft(RecordList<Group>& groups, int at) {
    Group& group = groups.at(at);
    if (group.Depth - 1 <= 0) {
        return -1;
    }
    --group.Depth;
    NormaliseDepths(groups);
    return at;
}

int MoveGroupRight(RecordList<Group>& groups, int at) {
    Group& group = groups.at(at);
    if (firstChild(groups, at) || group.Depth >= kMaxTreeLevel) {
        return -1;
    }
    ++group.Depth;
    return at;
}

}  // namespace vlt
