#pragma once
// The operating-system side of a plugin file: which files may be loaded, opening and closing,
// and export lookup.

#include <string>

#include "host/PluginFaults.h"

namespace vlt {

// Why the file at path may not be loaded, "" when it may: only a regular file owned by this user
// (or root) that no one else (group or others) can write is, in folders of which the same holds
// (or that have the sticky bit), links followed: so that no other user can slip code into the
// program by changing the file or a folder on its way.
std::u16string pluginFileRefusal(const std::string& path);
// dlopen(RTLD_NOW | RTLD_LOCAL); null on failure, with dlopen's reason in *error when given. The
// fault handler the library installed as it was loaded goes to *faultHandler when given; the
// host's own stays on top either way.
void* openPluginLibrary(const std::string& path, std::string* error = nullptr,
                        PluginFaultHandler* faultHandler = nullptr);
void closePluginLibrary(void* handle);
// The export, or null when it is missing or the library is not open.
void* pluginExport(void* handle, const char* name);

}  // namespace vlt
