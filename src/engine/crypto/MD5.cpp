#include "engine/crypto/MD5.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "common/RegularFile.h"

namespace vlt {

namespace {

struct ContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using Context = std::unique_ptr<EVP_MD_CTX, ContextFree>;

Context newContext() {
    Context context(EVP_MD_CTX_new());
    if (context && EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1) {
        context.reset();
    }
    return context;
}

std::u16string finish(EVP_MD_CTX* context) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context, digest, &length) != 1) {
        return {};
    }
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::u16string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += kDigits[digest[i] >> 4];
        text += kDigits[digest[i] & 15];
    }
    return text;
}

}  // namespace

std::u16string MD5Hex(std::span<const std::uint8_t> bytes) {
    Context context = newContext();
    if (!context || EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1) {
        return {};
    }
    return finish(context.get());
}

std::u16string FileMD5Hex(int fd) {
    Context context = newContext();
    bool ok = static_cast<bool>(context);
    unsigned char chunk[65536];
    for (off_t offset = 0; ok;) {
        const ssize_t got = ::pread(fd, chunk, sizeof chunk, offset);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        offset += got;
        ok = EVP_DigestUpdate(context.get(), chunk, static_cast<std::size_t>(got)) == 1;
    }
    return ok ? finish(context.get()) : std::u16string();
}

std::u16string FileMD5Hex(const std::string& path) {
    const int fd = OpenRegularFile(path, O_RDONLY, 0, nullptr);
    if (fd < 0) {
        return {};
    }
    std::u16string digest = FileMD5Hex(fd);
    ::close(fd);
    return digest;
}

}  // namespace vlt
