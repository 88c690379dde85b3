/* Plain C plugins without the SDK, each exporting one fixed signature text: the exact one
 * (a plugin of nothing but its signature), one with a trailing blank, one in lower case. */
#include "PluginABI.h"

__attribute__((visibility("default"))) const VLT_Char* Plugin_GetSignature(void) {
    return TEST_SIGNATURE;
}
