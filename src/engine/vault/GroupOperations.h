#pragma once
// The operations on the group tree the user starts from the menus, the toolbar, the keys and the
// tree's popup. Each works on the group selected in the tree, asks and tells through the Desktop,
// and leaves the tree rebuilt with the group it worked on selected.

namespace vlt {

struct Engine;

// A new group through the group editor, as the last child of the selected item (at the top
// level when none or the root item is selected); the entry list then shows it. 1 added, 0 not.
int Group_Add(Engine& engine);
// The selected group's name and icon through the group editor; its entries take the new name.
// 1 changed, 0 not.
int Group_Edit(Engine& engine);
// The selected group with its subtree, their entries and those entries' attachments, after
// confirmation. Always 0.
int Group_Remove(Engine& engine);
// The moves of the selected group (see GroupTreeEdits); 1 moved, 0 refused.
int Group_MoveUp(Engine& engine);
int Group_MoveDown(Engine& engine);
int Group_MoveLeft(Engine& engine);
int Group_MoveRight(Engine& engine);

}  // namespace vlt
