// A previewer that records the bytes it was given, for the test to read back. Built with
// TEST_EXTENSIONS it also names the file extensions it knows.
#include <atomic>
#include <vector>

#include "PluginSDK.h"

namespace {
std::vector<uint8_t> seen;
std::atomic<bool> done{false};
}  // namespace

void Plugin_OnLoad() {
#ifdef TEST_EXTENSIONS
    Plugin_SetName(u"Text preview");
#else
    Plugin_SetName(u"Probe preview");
#endif
    Plugin_SetType(VLT_PLUGIN_PREVIEWER);
}

VLT_PLUGIN_EXPORT(Plugin_PreviewStart)
int32_t Plugin_PreviewStart(const uint8_t* data, int32_t size) {
    seen.assign(data, data + size);
    done = true;
    return 0;
}

#ifdef TEST_EXTENSIONS
VLT_PLUGIN_EXPORT(Plugin_GetKnownExtensionList)
const VLT_Char* Plugin_GetKnownExtensionList() {
    return TEST_EXTENSIONS;
}
#endif

extern "C" __attribute__((visibility("default"))) int32_t Test_Seen(const uint8_t** data) {
    if (!done) {
        return -1;
    }
    *data = seen.data();
    return static_cast<int32_t>(seen.size());
}
