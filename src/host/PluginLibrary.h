#pragma once
// The operating-system side of a plugin file: which files may be loaded, opening and closing,
// and export lookup.

#include <string>

#include "host/PluginFaults.h"

namespace vlt {

// Opens the plugin file at `path` for loading, or returns -1 with the reason in `refusal`. Only a
// complete shared library of this machine is opened (see ElfImage.h), and only a regular file
// that no other user could have changed: owned by this user (or root), writable by no one else
// (group or others, by its mode or its access list), in folders of which the same holds (or that
// have the sticky bit), links followed where no other user could have replaced them. The checks
// are made again on the open descriptor, so the file loaded from it is the file checked.
int openPluginFile(const std::string& path, std::u16string& refusal);
// dlopen(RTLD_NOW | RTLD_LOCAL) of the open library file `fd` (which stays the caller's to
// close); null on failure, with dlopen's reason in *error when given, naming the file as `path`.
// The fault handler the library installed as it was loaded goes to *faultHandler when given;
// the host's own stays on top either way.
void* openPluginLibrary(int fd, const std::string& path, std::string* error = nullptr,
                        PluginFaultHandler* faultHandler = nullptr);
void closePluginLibrary(void* handle);
// The export, or null when it is missing or the library is not open.
void* pluginExport(void* handle, const char* name);

}  // namespace vlt
