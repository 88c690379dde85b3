/* A library with identity exports but no signature: not a plugin. */
#include "PluginABI.h"

__attribute__((visibility("default"))) const VLT_Char* Plugin_GetName(void) {
    return u"No signature";
}
