#pragma once
// A file may repeat an ID (an importer plugin can add records under IDs already taken, and a file
// can be edited by hand), but in memory an ID must name exactly one record: the window's tree
// items and list rows carry IDs, and the record they act on is looked up by ID.

#include "engine/vault/ID.h"
#include "engine/vault/Vault.h"

namespace vlt {

// Registers every ID of a freshly read vault in `ids`, in file order (groups, entries,
// attachments), giving each record whose ID is already taken a fresh one:
// - Records name one another by ID, and a lookup finds the first record with an ID, so the first
//   record with an ID keeps it and the records that named it go on naming it.
// - An attachment stays on the entry a lookup found in the file: the first entry with its
//   EntryID, under that entry's ID after loading (which is new only when that ID was a group's).
// - An entry stays in the group it was placed in: among the groups that had its GroupID in the
//   file, the first whose name is the entry's GroupName (the name copied when it was placed
//   there), else the first of them.
// A relation to an ID that no record of that list had is left as it is.
void MakeIdsUnique(Vault& vault, IdRegistry& ids);

}  // namespace vlt
