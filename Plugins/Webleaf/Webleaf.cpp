// The HTML exporter: its identity, its window's texts and its entry export.
#include "ExporterPlugin.h"
#include "HtmlWriter.h"

namespace {

constexpr std::uint32_t kIconColour = 0x0000A0E0;

constexpr vlt::plugin::ExporterTexts kTexts{
    .title = "VLT HTML Exporter",
    .bandTitle = "HTML Exporter",
    .bandText = "You can use this tool to export the database to HTML",
    .pathLabel = "HTML output file:",
    .dialogTitle = "Save HTML file",
    .filter = "HTML file (*.html)",
    .extension = ".html",
    .emptyPathMessage = "Please choose an output file for the HTML file",
    .successMessage = "HTML data exported successfully.",
    .selectedTip = "Groups to export",
    .listTip = nullptr,
    .pathTip = "Output file",
    .browseTip = "Choose output file",
    .exportTip = "Start exporting the data",
};

}  // namespace

VLT_EXPORTER_PLUGIN(u"HTML Exporter", vlt::plugin::kWebleafVersion, kIconColour, kTexts,
                    vlt::plugin::ExportHTML)
