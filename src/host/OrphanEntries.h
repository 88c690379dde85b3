#pragma once
// An importer may file an entry under a group ID that no group has (a hand-edited file, a group
// left out; groups may also come after their entries, so the callbacks cannot tell during the
// run). Such an entry would be counted and saved but shown under no group, so that nobody could
// see, edit or remove it. When an import ends, each one goes into the first group named as its
// GroupName, else into a new top-level group of that name at the end of the tree (one per name).
// One naming no group goes into the first group, which is made as "Imported entries" (the name
// the KeePass CSV import gives its group) when the import brought no group at all.

namespace vlt {

struct Engine;

void FileOrphanEntries(Engine& engine);

}  // namespace vlt
