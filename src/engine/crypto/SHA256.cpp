#include "engine/crypto/SHA256.h"

#include <openssl/evp.h>

namespace vlt {

SecureBuffer SHA256Fingerprint(TraceLog& log, const void* data, std::size_t length) {
    constexpr std::string_view kProc = "SHA256Fingerprint";
    SecureBuffer digest(kSha256DigestSize);
    log.Trace(u"Memory allocated", kProc);
    // The library's digest context holds words of the (often secret) message; freeing it, as
    // EVP_Digest does, cleanses it.
    unsigned int written = 0;
    if (EVP_Digest(data, length, digest.data(), &written, EVP_sha256(), nullptr) != 1 ||
        written != kSha256DigestSize) {
        digest.release();
    }
    log.Trace(u"Returning", kProc);
    return digest;
}

SecureBuffer PasswordHash(TraceLog& log, const SecureText& password) {
    const std::u16string_view text = password.view();
    SecureBuffer bytes(2 * (text.size() + 1));  // zero-filled: the terminator is already there
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
    return SHA256Fingerprint(log, bytes.data(), bytes.size());
}

}  // namespace vlt
