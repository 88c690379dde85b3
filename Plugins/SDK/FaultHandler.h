#pragma once
// The plugin's crash report: on a fatal signal, five lines naming this plugin go to stderr under
// the caption "Plugin error", then the process ends. The handler is process-wide, so on its own
// the last plugin loaded would report every fault: VLT keeps a handler of its own on top and
// passes this one only the faults of the threads it runs this plugin on. It is taken out again
// when its library is unloaded, before its code goes away.

#include <string>

namespace vlt::sdk {

void installFaultHandler();
void uninstallFaultHandler();
// The name the report gives; prepared here because the handler may not allocate.
void setFaultReportName(const std::u16string& name);

}  // namespace vlt::sdk
