/* A library calling a function that no library defines: the loader refuses it when it opens it
 * (every symbol is bound at once), and says which symbol is missing. */
#include "PluginABI.h"

void Test_DefinedNowhere(void);

__attribute__((visibility("default"))) const VLT_Char* Plugin_GetSignature(void) {
    Test_DefinedNowhere();
    return VLT_PLUGIN_SIGNATURE;
}
