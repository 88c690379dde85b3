#pragma once
// The entry commands of the main window: add an entry to the selected group, edit, move and
// remove the entry of the selected row. Adding and editing go through the entry editor
// (Desktop::OpenEntryWindow), which works on a copy; every change ends with the entry list rebuilt.
// Each returns 1 when it changed the vault, else 0.

#include "engine/vault/Records.h"

namespace vlt {

struct Engine;

// Adds an entry after the selected row's entry (after the last row's when no row is selected,
// at the end of the vault's entries when the group shows none).
int Entry_Add(Engine& engine);
// Edits the selected row's entry; its ID, group and creation date stay.
int Entry_Edit(Engine& engine);
// Swaps the selected row's entry with the entry of the row above / below.
int Entry_MoveUp(Engine& engine);
int Entry_MoveDown(Engine& engine);
// Removes the selected row's entry and its attachments after asking.
int Entry_Remove(Engine& engine);

// What the editor shows for `entry` in mode 0 (add) or 1 (edit): a new entry's expiry is now, or
// the configured number of days ahead and ticked; a background colour never chosen (0 while the
// custom background is off) is offered as bright red.
Entry EntryEditorInput(const Engine& engine, const Entry& entry, int mode);

}  // namespace vlt
