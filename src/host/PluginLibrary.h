#pragma once
// The operating-system side of a plugin file: which files may be loaded, opening and closing,
// and export lookup.

#include <string>

namespace vlt {

// Whether path is a regular file owned by this user (or root) that others cannot write, so that
// a plugin folder shared with other users cannot slip code into the program.
bool isTrustedPluginFile(const std::string& path);
// dlopen(RTLD_NOW | RTLD_LOCAL); null on failure.
void* openPluginLibrary(const std::string& path);
void closePluginLibrary(void* handle);
// The export, or null when it is missing or the library is not open.
void* pluginExport(void* handle, const char* name);

}  // namespace vlt
