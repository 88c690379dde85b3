// The KeePass 1.x CSV importer plugin.
#include "ImporterPlugin.h"
#include "KeePassCsvImport.h"

using namespace vlt::import;

namespace {

constexpr std::uint32_t kIconColour = 0x00C08030;  // the icon's lines, 0x00BBGGRR

ImporterTexts windowTexts() {
    return ImporterTexts{.title = "KeePass CSV Importer",
                         .bandTitle = "KeePass CSV Importer",
                         .bandText = "You can use this tool to import a .CSV file",
                         .label = "Input CSV file:",
                         .pathTip = "CSV file",
                         .browseTip = "Choose a file",
                         .importTip = "Start importing the file",
                         .dialogTitle = "Import CSV file",
                         .filter = "CSV file (*.csv)",
                         .emptyPath = "Please choose a valid CSV input file."};
}

}  // namespace

VLT_IMPORTER_PLUGIN(u"KeePass 1.x CSV Importer", u"1.0", kIconColour, windowTexts,
                    ImportKpCsv_ReadFile)
