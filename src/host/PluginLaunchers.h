#pragma once
// Starting the current plugin record's entry export on a thread of its own.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Desktop.h"

namespace vlt {

class PluginList;

// Launch results: 1 started (thread number stored in the record), 0 no thread could be created,
// -1 no memory for the start block, -2 entry export missing, -3 already running, -4 the current
// record is not of the launcher's type.
int VLT_Plugin_LaunchTool(PluginList& plugins);
// The previewer gets its own copy of the content, owned by its thread.
int VLT_Plugin_LaunchPreview(PluginList& plugins, std::vector<std::uint8_t> content);

// Shows what a failed launch means; nothing for 1. entryName is the export the launcher looked
// up ("Plugin_Start", "Plugin_ExportBegin", ...).
void ReportLaunchResult(Desktop& desktop, int result, std::u16string_view entryName);

}  // namespace vlt
