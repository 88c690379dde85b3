/* A tool without Plugin_QuitSignal: its entry runs until the test calls Test_Release. Built with
   TEST_IGNORES_QUIT, it exports the quit signal and a name, and takes no notice of the signal. */
#include <stdatomic.h>
#include <time.h>

#include "PluginABI.h"

static atomic_int released;

__attribute__((visibility("default"))) const VLT_Char* Plugin_GetSignature(void) {
    return VLT_PLUGIN_SIGNATURE;
}

__attribute__((visibility("default"))) int32_t Plugin_Start(void) {
    const struct timespec pause = {0, 5000000};
    while (!atomic_load(&released)) {
        nanosleep(&pause, NULL);
    }
    return 0;
}

#ifdef TEST_IGNORES_QUIT
__attribute__((visibility("default"))) const VLT_Char* Plugin_GetName(void) {
    return u"Deaf tool";
}

__attribute__((visibility("default"))) int32_t Plugin_QuitSignal(void) {
    return 0;
}
#endif

__attribute__((visibility("default"))) void Test_Release(void) {
    atomic_store(&released, 1);
}
