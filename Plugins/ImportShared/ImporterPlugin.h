#pragma once
// The two exports of an importer library that needs nothing but a file, made from what sets it
// apart: its name and version, its icon colour (0x00BBGGRR), a function giving its window's
// texts, and its reader. The importer's own file holds those and one VLT_IMPORTER_PLUGIN line.

#include "ImporterIdentity.h"
#include "ImporterWindow.h"
#include "PluginSDK.h"

#define VLT_IMPORTER_PLUGIN(name, version, iconColour, makeTexts, reader)        \
    void Plugin_OnLoad() {                                                       \
        vlt::import::SetImporterIdentity(name, version, iconColour);             \
    }                                                                            \
    VLT_PLUGIN_EXPORT(Plugin_ImportBegin)                                        \
    int32_t Plugin_ImportBegin(VLT_AddGroupFn AddGroup, VLT_AddEntryFn AddEntry, \
                               VLT_RequestPasswordFn) {                          \
        vlt::import::ImporterTexts texts = makeTexts();                          \
        texts.icon = Plugin_GetIconAddress();                                    \
        texts.iconSize = Plugin_GetIconSize();                                   \
        vlt::import::CallbackSink sink(AddGroup, AddEntry);                      \
        return vlt::import::RunImporterWindow(texts, reader, sink);              \
    }
