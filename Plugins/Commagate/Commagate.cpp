// The KeePass 1.x CSV importer plugin.
#include "ImporterIdentity.h"
#include "ImporterWindow.h"
#include "KeePassCsvImport.h"
#include "PluginSDK.h"

using namespace vlt::import;

namespace {
constexpr std::uint32_t kIconColour = 0x00C08030;  // the icon's lines, 0x00BBGGRR
}

void Plugin_OnLoad() {
    SetImporterIdentity(u"KeePass 1.x CSV Importer", u"1.0", kIconColour);
}

VLT_PLUGIN_EXPORT(Plugin_ImportBegin)
int32_t Plugin_ImportBegin(VLT_AddGroupFn AddGroup, VLT_AddEntryFn AddEntry,
                           VLT_RequestPasswordFn) {
    ImporterTexts texts{.title = "KeePass CSV Importer",
                        .bandTitle = "KeePass CSV Importer",
                        .bandText = "You can use this tool to import a .CSV file",
                        .label = "Input CSV file:",
                        .pathTip = "CSV file",
                        .browseTip = "Choose a file",
                        .importTip = "Start importing the file",
                        .dialogTitle = "Import CSV file",
                        .filter = "CSV file (*.csv)",
                        .emptyPath = "Please choose a valid CSV input file.",
                        .icon = Plugin_GetIconAddress(),
                        .iconSize = Plugin_GetIconSize()};
    CallbackSink sink(AddGroup, AddEntry);
    return RunImporterWindow(texts, ImportKpCsv_ReadFile, sink);
}
