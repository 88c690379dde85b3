// The INI importer plugin: the lossless way back for what the INI exporter wrote.
#include "ImporterPlugin.h"
#include "IniImport.h"

using namespace vlt::import;

namespace {

constexpr std::uint32_t kIconColour = 0x0080A020;  // the icon's lines, 0x00BBGGRR

ImporterTexts windowTexts() {
    return ImporterTexts{.title = "VLT INI Importer",
                         .bandTitle = "VLT INI Importer",
                         .bandText = "You can use this tool to import a .INI file",
                         .label = "Input INI file:",
                         .pathTip = "INI file",
                         .browseTip = "Choose input file",
                         .importTip = "Begin importing the data",
                         .dialogTitle = "Import INI file",
                         .filter = "INI file (*.ini)",
                         .emptyPath = "Please choose a valid INI input file."};
}

}  // namespace

VLT_IMPORTER_PLUGIN(u"VLT INI Importer", u"1.0", kIconColour, windowTexts, ImportIni_ReadFile)
