// The own-layout CSV exporter: its identity, its window's texts and its entry export.
#include "CsvWriter.h"
#include "ExporterPlugin.h"

namespace {

constexpr std::uint32_t kIconColour = 0x004080C0;

constexpr vlt::plugin::ExporterTexts kTexts{
    .title = "VLT CSV Exporter",
    .bandTitle = "VLT CSV Exporter",
    .bandText = "You can use this tool to export the database to CSV",
    .pathLabel = "CSV output file:",
    .dialogTitle = "Save CSV file",
    .filter = "CSV file (*.csv)",
    .extension = ".csv",
    .emptyPathMessage = "Please choose an output file for the CSV file",
    .successMessage = "CSV data exported successfully.",
    .selectedTip = nullptr,
    .listTip = "Groups to export",
    .pathTip = "Output file",
    .browseTip = "Choose the output file",
    .exportTip = "Start exporting the data",
};

}  // namespace

VLT_EXPORTER_PLUGIN(u"VLT CSV Exporter", u"1.1", kIconColour, kTexts, vlt::plugin::ExportCSV)
