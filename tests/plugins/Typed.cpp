// SDK plugins that export no entry function: one per type given by TEST_TYPE, named TEST_NAME,
// with an icon when built with TEST_ICON.
#include "PluginIcon.h"
#include "PluginSDK.h"

void Plugin_OnLoad() {
    Plugin_SetName(TEST_NAME);
    Plugin_SetType(TEST_TYPE);
#ifdef TEST_ICON
    // Made here, not at namespace scope: the SDK runs Plugin_OnLoad from a load-time
    // constructor that may come before this file's own.
    static const auto icon = [] {
        vlt::sdk::PluginIconPixels pixels;
        pixels.fill(0xFF2060C0);
        return vlt::sdk::PluginIconFile(pixels);
    }();
    Plugin_SetIconSize(static_cast<std::int32_t>(icon.size()));
    Plugin_SetIconAddress(icon.data());
#endif
}
