// The INI importer plugin: the lossless way back for what the INI exporter wrote.
#include "ImporterIdentity.h"
#include "ImporterWindow.h"
#include "IniImport.h"
#include "PluginSDK.h"

using namespace vlt::import;

namespace {
constexpr std::uint32_t kIconColour = 0x0080A020;  // the icon's lines, 0x00BBGGRR
}

void Plugin_OnLoad() {
    SetImporterIdentity(u"VLT INI Importer", u"1.0", kIconColour);
}

VLT_PLUGIN_EXPORT(Plugin_ImportBegin)
int32_t Plugin_ImportBegin(VLT_AddGroupFn AddGroup, VLT_AddEntryFn AddEntry,
                           VLT_RequestPasswordFn) {
    ImporterTexts texts{.title = "VLT INI Importer",
                        .bandTitle = "VLT INI Importer",
                        .bandText = "You can use this tool to import a .INI file",
                        .label = "Input INI file:",
                        .pathTip = "INI file",
                        .browseTip = "Choose input file",
                        .importTip = "Begin importing the data",
                        .dialogTitle = "Import INI file",
                        .filter = "INI file (*.ini)",
                        .emptyPath = "Please choose a valid INI input file.",
                        .icon = Plugin_GetIconAddress(),
                        .iconSize = Plugin_GetIconSize()};
    CallbackSink sink(AddGroup, AddEntry);
    return RunImporterWindow(texts, ImportIni_ReadFile, sink);
}
