#pragma once
// What the main window's entry list shows: the rows of the group selected in the tree, the entry
// behind a row, and the comment of the entry the user is on. The rows live in the view (the
// Desktop); the engine decides what goes into them.

#include "engine/vault/Records.h"

namespace vlt {

struct Engine;

// Rebuilds the entry list for the group selected in the tree, keeping the selected row by its
// index and showing that row's comment (the comment view is emptied when the row is gone). With
// no groups, no entries or no group selected the list keeps its rows. 1 when rebuilt, else 0.
int Entry_RefreshList(Engine& engine);

// Rebuilds the entry list for the group selected in the tree and selects the row of the entry
// `selectId`, or the row at `fallbackRow` when no row shows that entry; shows the selected row's
// comment (empties the view when none is selected). What every entry operation ends with.
// 1 when rebuilt; 0, leaving the list as it is, when no group is shown.
int ShowGroupEntries(Engine& engine, std::int32_t selectId, int fallbackRow);

// The entry shown in that row of the list; nullptr when there is no such row or its entry has
// gone since the list was built.
Entry* EntryOfRow(Engine& engine, int row);

// The answer to any user event on the entry list: the entry of the current row is stamped as
// accessed now and its comment shown; with no current row the comment view is emptied. Turned
// away while the engine is busy. 1 when an entry was shown, else 0.
int ShowSelectedEntry(Engine& engine);

}  // namespace vlt
