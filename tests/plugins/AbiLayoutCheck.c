/* Compiles the plugin interface as C; the layout checks fail the build when it drifts. */
#include "AbiLayout.h"
