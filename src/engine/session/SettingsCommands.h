#pragma once
// What the configuration window's Apply and Defaults do to the settings files and the records in
// memory. The window itself, and the parts of Apply that reach the desktop (colours, hot key,
// autostart, association), live in the shell.

#include "engine/settings/Settings.h"

namespace vlt {

struct Engine;

// Apply, file half: takes the group "MainSettings" of `edited` into the engine's settings, writes
// that group to Config.ini (creating the file when it is gone), and with Recents off empties the
// recent-files list, deletes "Recent.ini" and rebuilds the main menu. A file that cannot be
// written is reported ("The settings file could not be updated.") and the new values stay in
// memory. 1 when the file was written, else 0.
int ApplyMainSettings(Engine& engine, const MainSettings& edited);

// Defaults: after a confirmation, the settings files go so that the next start uses the factory
// values: "Config.ini" is deleted, or in a portable installation (where its presence beside the
// program is what makes it portable) rewritten with the factory values; then "Recent.ini" is
// deleted. The records in memory keep their values, and the exit stores nothing until the next
// Apply. True when the files were reset (the window closes), false when the user said No or
// Config.ini could not be erased (reported).
bool ResetSettingsFiles(Engine& engine, bool portable);

}  // namespace vlt
