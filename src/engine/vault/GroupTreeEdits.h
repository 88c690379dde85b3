#pragma once
// The group tree's edits as pure functions over the groups list. They expect normalised depths
// (NormaliseDepths), so that a group's Depth is its level in the tree. A group is named by its
// index in the list; the tree shows it as item index + 1.

#include <string_view>

#include "engine/vault/RecordList.h"
#include "engine/vault/Records.h"

namespace vlt {

// Whether a group of that name exists, compared lower-cased and without leading and trailing
// blanks (U+0020 only).
bool Group_Exists(const RecordList<Group>& groups, std::u16string_view name);

struct GroupPlace {
    int index = 0;  // the new group's index in the list
    int depth = 1;
};
// Where a new group goes when tree item `selectedItem` is selected: the last child of that item,
// directly after its subtree. No selection (-1) or the root item (0) mean the top level.
GroupPlace NewGroupPlace(const RecordList<Group>& groups, int selectedItem);

// The moves return the moved group's new index, or -1 when the move is refused; a refused move
// changes nothing.
// Swaps the group's subtree with the subtree of its previous sibling; refused for a first child.
int MoveGroupUp(RecordList<Group>& groups, int at);
// Swaps the group's subtree with the subtree of its next sibling; refused for a last child.
int MoveGroupDown(RecordList<Group>& groups, int at);
// One level up: its following siblings become its children, its children are placed one level
// below it, each following one relative to the one above. Refused at the top level.
int MoveGroupLeft(RecordList<Group>& groups, int at);
// One level down, as the last child of its previous sibling; its own children become its
// siblings. Refused for a first child (it has no previous sibling).
int MoveGroupRight(RecordList<Group>& groups, int at);

}  // namespace vlt
