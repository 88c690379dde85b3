// The HTML exporter: its identity, its window's texts and its entry export.
#include "ExporterIdentity.h"
#include "ExporterWindow.h"
#include "HtmlWriter.h"
#include "PluginSDK.h"

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

void Plugin_OnLoad() {
    vlt::plugin::SetExporterIdentity(u"HTML Exporter", vlt::plugin::kWebleafVersion, kIconColour);
}

VLT_PLUGIN_EXPORT(Plugin_ExportBegin)
int32_t Plugin_ExportBegin(VLT_CountFn CountGroups, VLT_NextGroupFn NextGroup,
                           VLT_CountFn CountEntries, VLT_NextEntryFn NextEntry,
                           VLT_CountFn /*CountAttachments*/,
                           VLT_NextAttachmentFn /*NextAttachment*/,
                           VLT_RequestPasswordFn /*RequestPassword*/) {
    vlt::plugin::HostRecords records(CountGroups, NextGroup, CountEntries, NextEntry);
    return vlt::plugin::ExporterMain(kTexts, vlt::plugin::ExportHTML, records, kIconColour);
}
