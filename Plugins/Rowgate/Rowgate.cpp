// The importer plugin of the program's own CSV layout.
#include "ImporterIdentity.h"
#include "ImporterWindow.h"
#include "OwnCsvImport.h"
#include "PluginSDK.h"

using namespace vlt::import;

namespace {
constexpr std::uint32_t kIconColour = 0x0030A0E0;  // the icon's lines, 0x00BBGGRR
}

void Plugin_OnLoad() {
    SetImporterIdentity(u"VLT CSV Importer", u"1.1", kIconColour);
}

VLT_PLUGIN_EXPORT(Plugin_ImportBegin)
int32_t Plugin_ImportBegin(VLT_AddGroupFn AddGroup, VLT_AddEntryFn AddEntry,
                           VLT_RequestPasswordFn) {
    ImporterTexts texts{.title = "VLT CSV Importer",
                        .bandTitle = "VLT CSV Importer",
                        .bandText = "You can use this tool to import a .CSV file",
                        .label = "Input CSV file:",
                        .pathTip = "CSV file",
                        .browseTip = "Choose CSV file",
                        .importTip = "Begin importing data",
                        .dialogTitle = "Import CSV file",
                        .filter = "CSV file (*.csv)",
                        .emptyPath = "Please choose a valid CSV input file.",
                        .icon = Plugin_GetIconAddress(),
                        .iconSize = Plugin_GetIconSize()};
    CallbackSink sink(AddGroup, AddEntry);
    return RunImporterWindow(texts, ImportCsv_ReadFile, sink);
}
