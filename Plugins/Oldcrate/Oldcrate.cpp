// The importer plugin of version-3 containers. It asks for the password before its window.
#include "ImportText.h"
#include "ImporterIdentity.h"
#include "ImporterWindow.h"
#include "PluginSDK.h"
#include "V3Container.h"

using namespace vlt::import;

namespace {
constexpr std::uint32_t kIconColour = 0x002040C0;  // the icon's lines, 0x00BBGGRR
}

void Plugin_OnLoad() {
    SetImporterIdentity(u"VLT 3.x VLK Importer", u"1.0", kIconColour);
}

VLT_PLUGIN_EXPORT(Plugin_ImportBegin)
int32_t Plugin_ImportBegin(VLT_AddGroupFn AddGroup, VLT_AddEntryFn AddEntry,
                           VLT_RequestPasswordFn RequestPassword) {
    const VLT_Char* answer = RequestPassword();
    std::u16string password = answer != nullptr ? answer : u"";
    WipeOnExit wipePassword(password);
    if (password.empty()) {
        return 0;
    }
    ImporterTexts texts{.title = "VLT 3.x VLK Importer",
                        .bandTitle = "VLT 3.0 VLK Importer",
                        .bandText = "You can use this tool to import a .VLK database",
                        .label = "Input VLK file:",
                        .pathTip = "VLK file",
                        .browseTip = "Choose a file",
                        .importTip = "Start importing the file",
                        .dialogTitle = "Import VLK file",
                        .filter = "VLK file (*.vlk)",
                        .emptyPath = "Please choose a valid VLK input file.",
                        .icon = Plugin_GetIconAddress(),
                        .iconSize = Plugin_GetIconSize()};
    CallbackSink sink(AddGroup, AddEntry);
    return RunImporterWindow(
        texts,
        // This importer takes the path without its outer blanks.
        [&password](const std::string& path, ImportSink& s) {
            const std::size_t first = path.find_first_not_of(' ');
            const std::string trimmed =
                first == std::string::npos
                    ? std::string()
                    : path.substr(first, path.find_last_not_of(' ') - first + 1);
            return ImportV3_ReadContainer(password, trimmed, s);
        },
        sink);
}
