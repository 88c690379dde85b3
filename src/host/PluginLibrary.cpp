#include "host/PluginLibrary.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlt {

bool isTrustedPluginFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    const bool owner = info.st_uid == ::geteuid() || info.st_uid == 0;
    return owner && (info.st_mode & S_IWOTH) == 0;
}

void* openPluginLibrary(const std::string& path) {
    return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void closePluginLibrary(void* handle) {
    if (handle != nullptr) {
        ::dlclose(handle);
    }
}

void* pluginExport(void* handle, const char* name) {
    return handle == nullptr ? nullptr : ::dlsym(handle, name);
}

}  // namespace vlt
