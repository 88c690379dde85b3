#include "host/PluginLibrary.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/Utf.h"

namespace vlt {

std::u16string pluginFileRefusal(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return fromUtf8(std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return u"not a regular file";
    }
    if (info.st_uid != ::geteuid() && info.st_uid != 0) {
        return u"owned by another user";
    }
    if ((info.st_mode & S_IWOTH) != 0) {
        return u"writable by others";
    }
    return {};
}

void* openPluginLibrary(const std::string& path, std::string* error) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr && error != nullptr) {
        const char* reason = ::dlerror();
        *error = reason != nullptr ? reason : "";
    }
    return handle;
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
