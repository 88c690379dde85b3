/* Compiles the plugin interface as C11, so that its layout checks run for C plugins too. */
#include "PluginABI.h"
