// The INI exporter: its identity, its window's texts and its entry export.
#include "ExporterIdentity.h"
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
    vlt::plugin::SetExporterIdentity(u"VLT INI Exporter", vlt::plugin::kKeyleafVersion,
                                     kIconColour);
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
