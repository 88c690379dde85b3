// The importer plugin of the program's own CSV layout.
#include "ImporterPlugin.h"
#include "OwnCsvImport.h"

using namespace vlt::import;

namespace {

constexpr std::uint32_t kIconColour = 0x0030A0E0;  // the icon's lines, 0x00BBGGRR

ImporterTexts windowTexts() {
    return ImporterTexts{.title = "VLT CSV Importer",
                         .bandTitle = "VLT CSV Importer",
                         .bandText = "You can use this tool to import a .CSV file",
                         .label = "Input CSV file:",
                         .pathTip = "CSV file",
                         .browseTip = "Choose CSV file",
                         .importTip = "Begin importing data",
                         .dialogTitle = "Import CSV file",
                         .filter = "CSV file (*.csv)",
                         .emptyPath = "Please choose a valid CSV input file."};
}

}  // namespace

VLT_IMPORTER_PLUGIN(u"VLT CSV Importer", u"1.1", kIconColour, windowTexts, ImportCsv_ReadFile)
