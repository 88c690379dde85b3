// Gaugebox: scores a password while it is typed.
#include "GaugeboxWindow.h"
#include "GuiBridge.h"
#include "PluginSDK.h"

extern const unsigned char kGaugeboxIcon[1150];

void Plugin_OnLoad() {
    Plugin_SetName(u"Password analyzer");
    Plugin_SetVersion(u"1.1");
    Plugin_SetDescription(u"Simple password strength analyzer");
    Plugin_SetAuthor(u"Orvelline");
    Plugin_SetType(VLT_PLUGIN_TOOL);
    Plugin_SetIconSize(sizeof kGaugeboxIcon);
    Plugin_SetIconAddress(kGaugeboxIcon);
}

VLT_PLUGIN_EXPORT(Plugin_Start)
int32_t Plugin_Start() {
    vlt::sdk::runWindow([] { return new vlt::gaugebox::GaugeboxWindow; });
    return 0;
}
