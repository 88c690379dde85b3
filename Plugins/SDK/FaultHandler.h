#pragma once
// The plugin's crash report: on a fatal signal anywhere in the process, five lines naming this
// plugin go to stderr under the caption "Plugin error", then the process ends. The handler is
// process-wide, so the last plugin loaded reports every fault; it is taken out again when its
// library is unloaded, before its code goes away.

#include <string>

namespace vlt::sdk {

void installFaultHandler();
void uninstallFaultHandler();
// The name the report gives; prepared here because the handler may not allocate.
void setFaultReportName(const std::u16string& name);

}  // namespace vlt::sdk
