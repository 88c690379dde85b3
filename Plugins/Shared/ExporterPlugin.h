#pragma once
// The two exports every exporter library has, made from what sets it apart: its name and
// version, its icon colour (0x00BBGGRR), its window's texts and its writer. An exporter's own file
// holds those and one VLT_EXPORTER_PLUGIN line.

#include "ExporterIdentity.h"
#include "ExporterWindow.h"
#include "PluginSDK.h"
#include "RecordSource.h"

#define VLT_EXPORTER_PLUGIN(name, version, iconColour, texts, writer)                            \
    void Plugin_OnLoad() {                                                                       \
        vlt::plugin::SetExporterIdentity(name, version, iconColour);                             \
    }                                                                                            \
    VLT_PLUGIN_EXPORT(Plugin_ExportBegin)                                                        \
    int32_t Plugin_ExportBegin(VLT_CountFn CountGroups, VLT_NextGroupFn NextGroup,               \
                               VLT_CountFn CountEntries, VLT_NextEntryFn NextEntry, VLT_CountFn, \
                               VLT_NextAttachmentFn, VLT_RequestPasswordFn) {                    \
        vlt::plugin::HostRecords records(CountGroups, NextGroup, CountEntries, NextEntry);       \
        return vlt::plugin::ExporterMain(texts, writer, records, iconColour);                    \
    }
