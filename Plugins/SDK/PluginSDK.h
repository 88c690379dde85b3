#pragma once
// What every plugin library carries: its identity and the identity exports the host reads at
// load, the quit flag, and the fault handler. A plugin defines Plugin_OnLoad (run when the
// library is loaded, before the host's first call) and its entry export:
//
//     void Plugin_OnLoad() {
//         Plugin_SetName(u"Text preview");
//         Plugin_SetType(VLT_PLUGIN_PREVIEWER);
//     }
//     VLT_PLUGIN_EXPORT(Plugin_PreviewStart)
//     int32_t Plugin_PreviewStart(const uint8_t* data, int32_t size) { ... }

#include <cstdint>
#include <type_traits>

#include "PluginABI.h"

// Declares an export through its type in PluginABI.h, so that a definition whose signature
// differs from what the host looks up does not compile.
#define VLT_PLUGIN_EXPORT(name) \
    extern "C" __attribute__((visibility("default"))) std::remove_pointer_t<name##_Fn> name;

// Defined by each plugin: fills the identity.
extern "C" void Plugin_OnLoad();

// Set by the SDK before Plugin_OnLoad runs: the signature, and the fault handler installed.
int Plugin_InitSDK();
int Plugin_SetName(const char16_t* text);
int Plugin_SetVersion(const char16_t* text);
int Plugin_SetDescription(const char16_t* text);
int Plugin_SetAuthor(const char16_t* text);
int Plugin_SetType(std::int8_t type);
int Plugin_SetIconSize(std::int32_t size);
int Plugin_SetIconAddress(const void* address);

// 1 once the host has sent the quit signal; a plugin's loop asks at the end of every pass.
std::int32_t Plugin_QuitRequested();

VLT_PLUGIN_EXPORT(Plugin_GetSignature)
VLT_PLUGIN_EXPORT(Plugin_GetName)
VLT_PLUGIN_EXPORT(Plugin_GetVersion)
VLT_PLUGIN_EXPORT(Plugin_GetDescription)
VLT_PLUGIN_EXPORT(Plugin_GetAuthor)
VLT_PLUGIN_EXPORT(Plugin_GetIconSize)
VLT_PLUGIN_EXPORT(Plugin_GetIconAddress)
VLT_PLUGIN_EXPORT(Plugin_GetType)
VLT_PLUGIN_EXPORT(Plugin_QuitSignal)
