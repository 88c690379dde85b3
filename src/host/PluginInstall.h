#pragma once
// Installing a plugin file into the plugin folder and removing one, at run time. Both report
// to the user through the desktop and leave the plugin list as the folder now is.

#include <cstdint>
#include <functional>
#include <string>

#include "engine/Desktop.h"

namespace vlt {

class PluginList;

// Asks for a library file, checks it, replaces an installed plugin of the same name if the user
// agrees, and copies it into `folder` and loads it. 0 when cancelled or refused before the file
// was opened as a library, else 1. `changed` runs when the list has changed.
int VLT_Plugin_Install(PluginList& plugins, Desktop& desktop, const std::string& folder,
                       const std::function<void()>& changed);
// Unloads the plugin with that ID (after asking) and renames its file to "<file>.bak". Returns
// 0; `changed` runs when the list has changed.
int VLT_Plugin_Remove(PluginList& plugins, Desktop& desktop, std::int32_t pluginId,
                      const std::function<void()>& changed);

}  // namespace vlt
