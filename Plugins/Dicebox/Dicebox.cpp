// Dicebox: makes random passwords from chosen character classes or a custom set.
#include "DiceboxWindow.h"
#include "GuiBridge.h"
#include "PluginSDK.h"

extern const unsigned char kDiceboxIcon[1150];

void Plugin_OnLoad() {
    Plugin_SetName(u"Password generator");
    Plugin_SetVersion(u"1.1");
    Plugin_SetDescription(u"Simple password generator");
    Plugin_SetAuthor(u"Orvelline");
    Plugin_SetType(VLT_PLUGIN_TOOL);
    Plugin_SetIconSize(sizeof kDiceboxIcon);
    Plugin_SetIconAddress(kDiceboxIcon);
}

VLT_PLUGIN_EXPORT(Plugin_Start)
int32_t Plugin_Start() {
    vlt::dicebox::CryptoRandom random;
    vlt::sdk::runWindow([&random] { return new vlt::dicebox::DiceboxWindow(random); });
    return 0;
}
