#pragma once
// The File menu's recent-files commands: open one of them, clear the list.

namespace vlt {

struct Engine;

// Opens recent file `index` (0 the newest) as a container. A file that is gone, or a path that
// now names a folder, is refused with a warning and stays listed; an index past the list does
// nothing. OpenContainer's result, or 0 when nothing was opened.
int OpenRecentFile(Engine& engine, int index);

// Empties the list, deletes "Recent.ini" and rebuilds the main menu.
void ClearRecentFiles(Engine& engine);

}  // namespace vlt
