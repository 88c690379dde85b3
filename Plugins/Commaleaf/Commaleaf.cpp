// The KeePass 1.x CSV exporter: its identity, its window's texts and its entry export.
#include "ExporterPlugin.h"
#include "KeePassCsvWriter.h"

namespace {

constexpr std::uint32_t kIconColour = 0x0020A020;

constexpr vlt::plugin::ExporterTexts kTexts{
    .title = "KeePass CSV Exporter",
    .bandTitle = "KeePass 1.x CSV Exporter",
    .bandText = "You can use this tool to export the database to CSV",
    .pathLabel = "CSV output file:",
    .dialogTitle = "Save CSV file",
    .filter = "CSV file (*.csv)",
    .extension = ".csv",
    .emptyPathMessage = "Please choose an output file for the CSV file",
    .successMessage = "CSV data exported successfully.",
    .selectedTip = nullptr,
    .listTip = "Detected groups",
    .pathTip = "Output file",
    .browseTip = "Choose output file",
    .exportTip = "Begin exporting data",
};

}  // namespace

VLT_EXPORTER_PLUGIN(u"KeePass 1.x CSV Exporter", u"1.1", kIconColour, kTexts,
                    vlt::plugin::ExportKeePassCSV)
