// The plain-text exporter: its identity, its window's texts and its entry export.
#include "ExporterPlugin.h"
#include "TextWriter.h"

namespace {

constexpr std::uint32_t kIconColour = 0x00808080;

constexpr vlt::plugin::ExporterTexts kTexts{
    .title = "VLT TXT Exporter",
    .bandTitle = "VLT Text Exporter",
    .bandText = "You can use this tool to export the database to TXT",
    .pathLabel = "TXT output file:",
    .dialogTitle = "Save TXT file",
    .filter = "Text file (*.txt)",
    .extension = ".txt",
    .emptyPathMessage = "Please choose an output file for the TXT file",
    .successMessage = "TXT data exported successfully.",
    .selectedTip = nullptr,
    .listTip = "Detected groups",
    .pathTip = "Output file",
    .browseTip = "Choose output file",
    .exportTip = "Begin to export the data",
};

}  // namespace

VLT_EXPORTER_PLUGIN(u"VLT Text Exporter", vlt::plugin::kPlainleafVersion, kIconColour, kTexts,
                    vlt::plugin::ExportTXT)
