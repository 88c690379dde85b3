#include "host/PluginLibrary.h"

#include <dlfcn.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>

#include "engine/text/Text.h"

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

std::u16string fileMd5(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_md5(), nullptr) != 1) {
        return {};
    }
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        EVP_DigestUpdate(ctx.get(), block, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        return {};
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(ctx.get(), digest, &length) != 1) {
        return {};
    }
    static constexpr char16_t kHex[] = u"0123456789abcdef";
    std::u16string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += kHex[digest[i] >> 4];
        text += kHex[digest[i] & 0xF];
    }
    return text;
}

}  // namespace vlt
