// A tool whose window stays open until it is closed or the quit signal arrives.
#include <QDialog>

#include "GuiBridge.h"
#include "PluginSDK.h"

void Plugin_OnLoad() {
    Plugin_SetName(u"Waiting tool");
    Plugin_SetVersion(u"2.5");
    Plugin_SetDescription(u"Waits for the quit signal");
    Plugin_SetAuthor(u"Tests");
    Plugin_SetType(VLT_PLUGIN_TOOL);
}

VLT_PLUGIN_EXPORT(Plugin_Start)
int32_t Plugin_Start() {
    vlt::sdk::runWindow([] {
        auto* window = new QDialog;
        window->setObjectName(QStringLiteral("waitingToolWindow"));
        return window;
    });
    return 0;
}
