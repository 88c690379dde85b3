#include "PluginSDK.h"

#include <atomic>
#include <string>

#include "FaultHandler.h"

namespace {

struct PluginIdentity {
    std::u16string Signature;
    std::u16string Name;
    std::u16string Version;
    std::u16string Description;
    std::u16string Author;
    std::int8_t Type = 0;
    std::int32_t IconSize = 0;
    const void* IconAddress = nullptr;
    std::atomic<std::int32_t> QuitFlag{0};
};

PluginIdentity& identity() {
    static PluginIdentity record;
    return record;
}

// Runs when the library is loaded and before any export is called.
__attribute__((constructor)) void attach() {
    Plugin_InitSDK();
    Plugin_OnLoad();
}

__attribute__((destructor)) void detach() {
    vlt::sdk::uninstallFaultHandler();
}

}  // namespace

int Plugin_InitSDK() {
    identity().Signature = VLT_PLUGIN_SIGNATURE;
    vlt::sdk::installFaultHandler();
    return 0;
}

int Plugin_SetName(const char16_t* text) {
    identity().Name = text;
    vlt::sdk::setFaultReportName(identity().Name);
    return 0;
}

int Plugin_SetVersion(const char16_t* text) {
    identity().Version = text;
    return 0;
}

int Plugin_SetDescription(const char16_t* text) {
    identity().Description = text;
    return 0;
}

int Plugin_SetAuthor(const char16_t* text) {
    identity().Author = text;
    return 0;
}

int Plugin_SetType(std::int8_t type) {
    identity().Type = type;
    return 0;
}

int Plugin_SetIconSize(std::int32_t size) {
    identity().IconSize = size;
    return 0;
}

int Plugin_SetIconAddress(const void* address) {
    identity().IconAddress = address;
    return 0;
}

std::int32_t Plugin_QuitRequested() {
    return identity().QuitFlag.load();
}

// The identity never changes after load, so the texts can be handed out in place.
const VLT_Char* Plugin_GetSignature() {
    return identity().Signature.c_str();
}
const VLT_Char* Plugin_GetName() {
    return identity().Name.c_str();
}
const VLT_Char* Plugin_GetVersion() {
    return identity().Version.c_str();
}
const VLT_Char* Plugin_GetDescription() {
    return identity().Description.c_str();
}
const VLT_Char* Plugin_GetAuthor() {
    return identity().Author.c_str();
}
std::int32_t Plugin_GetIconSize() {
    return identity().IconSize;
}
const void* Plugin_GetIconAddress() {
    return identity().IconAddress;
}
std::int32_t Plugin_GetType() {
    return identity().Type;
}

std::int32_t Plugin_QuitSignal() {
    identity().QuitFlag.store(1);
    return 0;
}
