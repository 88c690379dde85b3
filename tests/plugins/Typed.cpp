// SDK plugins that export no entry function: one per type given by TEST_TYPE, named TEST_NAME.
#include "PluginSDK.h"

void Plugin_OnLoad() {
    Plugin_SetName(TEST_NAME);
    Plugin_SetType(TEST_TYPE);
}
