#pragma once
// Starting the current plugin record's entry export on a thread of its own.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/Desktop.h"

namespace vlt {

class PluginList;
struct Engine;

// Launch results: 1 started (thread number stored in the record), 0 no thread could be created,
// -1 no memory for the start block, -2 entry export missing, -3 already running, -4 the current
// record is not of the launcher's type.
int VLT_Plugin_LaunchTool(PluginList& plugins);
// The previewer gets its own copy of the content, owned by its thread.
int VLT_Plugin_LaunchPreview(PluginList& plugins, std::vector<std::uint8_t> content);

// The entry exports get the host callbacks; a CallbackSession must be alive while they run.
int VLT_Plugin_LaunchImport(PluginList& plugins);
int VLT_Plugin_LaunchExport(PluginList& plugins);

// Runs the current exporter (importer) with the callbacks acting on `engine`, and returns once
// it has finished; the launch result. Meanwhile the GUI thread keeps handling events but the
// interface is locked (setInterfaceLocked(true), then false), the engine counts as busy, and
// the password window the plugin asks for opens on the GUI thread. After an import, the entries
// filed under no group are given one (OrphanEntries.h).
int RunExporter(PluginList& plugins, Engine& engine,
                const std::function<void(bool)>& setInterfaceLocked);
int RunImporter(PluginList& plugins, Engine& engine,
                const std::function<void(bool)>& setInterfaceLocked);

// The entry window's "Password generator" button: launches the first tool of exactly that name
// and reports the result; says so when no plugin at all is loaded. The list's cursor is kept.
void LaunchPasswordGenerator(PluginList& plugins, Desktop& desktop);

// Shows what a failed launch means; nothing for 1. entryName is the export the launcher looked
// up ("Plugin_Start", "Plugin_ExportBegin", ...).
void ReportLaunchResult(Desktop& desktop, int result, std::u16string_view entryName);

}  // namespace vlt
