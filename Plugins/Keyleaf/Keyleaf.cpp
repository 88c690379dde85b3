// The INI exporter: its identity, its window's texts and its entry export.
#include "ExporterPlugin.h"
#include "IniWriter.h"

namespace {

constexpr std::uint32_t kIconColour = 0x00C06020;

constexpr vlt::plugin::ExporterTexts kTexts{
    .title = "VLT INI Exporter",
    .bandTitle = "VLT INI Exporter",
    .bandText = "You can use this tool to export the database to INI",
    .pathLabel = "INI output file:",
    .dialogTitle = "Save INI file",
    .filter = "INI file (*.ini)",
    .extension = ".ini",
    .emptyPathMessage = "Please choose an output file for the INI file",
    .successMessage = "INI data exported successfully.",
    .selectedTip = nullptr,
    .listTip = "Detected groups",
    .pathTip = "INI file",
    .browseTip = "Choose input file",
    .exportTip = "Begin exporting the data",
};

}  // namespace

VLT_EXPORTER_PLUGIN(u"VLT INI Exporter", vlt::plugin::kKeyleafVersion, kIconColour, kTexts,
                    vlt::plugin::ExportINI)
