// A tool that faults inside its entry, for the crash report.
#include "PluginSDK.h"

void Plugin_OnLoad() {
    Plugin_SetName(u"Text preview");
    Plugin_SetType(VLT_PLUGIN_TOOL);
}

VLT_PLUGIN_EXPORT(Plugin_Start)
int32_t Plugin_Start() {
    volatile int* nowhere = nullptr;
    return *nowhere;
}
