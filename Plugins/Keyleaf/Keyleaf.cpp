// VLT INI Exporter: the exporter's identity and entry export.
#include "ExporterIcon.h"
#include "ExporterWindow.h"
#include "IniWriter.h"
#include "PluginSDK.h"

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

void Plugin_OnLoad() {
    Plugin_SetName(u"VLT INI Exporter");
    Plugin_SetVersion(vlt::plugin::kKeyleafVersion);
    Plugin_SetDescription(u"VLT INI Exporter");
    Plugin_SetAuthor(u"Orvelline");
    Plugin_SetType(VLT_PLUGIN_EXPORTER);
    Plugin_SetIconSize(vlt::plugin::kIconFileSize);
    Plugin_SetIconAddress(vlt::plugin::ExporterIcon(kIconColour));
}

VLT_PLUGIN_EXPORT(Plugin_ExportBegin)
int32_t Plugin_ExportBegin(VLT_CountFn CountGroups, VLT_NextGroupFn NextGroup,
                           VLT_CountFn CountEntries, VLT_NextEntryFn NextEntry,
                           VLT_CountFn /*CountAttachments*/,
                           VLT_NextAttachmentFn /*NextAttachment*/,
                           VLT_RequestPasswordFn /*RequestPassword*/) {
    vlt::plugin::HostRecords records(CountGroups, NextGroup, CountEntries, NextEntry);
    return vlt::plugin::ExporterMain(kTexts, vlt::plugin::ExportINI, records, kIconColour);
}
