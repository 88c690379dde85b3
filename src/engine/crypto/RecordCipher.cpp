#include "engine/crypto/RecordCipher.h"

#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/params.h>

#include <climits>
#include <cstring>

#include "engine/crypto/SecureBuffer.h"

namespace vlt {
namespace {

EVP_CIPHER_CTX* keyedContext(EVP_CIPHER* cipher, const std::uint8_t* key, const std::uint8_t* iv,
                             int encrypt) {
    char mode[] = "CS2";
    const OSSL_PARAM params[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_CIPHER_PARAM_CTS_MODE, mode, 0),
        OSSL_PARAM_construct_end()};
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    if (ctx != nullptr && EVP_CipherInit_ex2(ctx, cipher, key, iv, encrypt, params) != 1) {
        EVP_CIPHER_CTX_free(ctx);
        ctx = nullptr;
    }
    return ctx;
}

}  // namespace

RecordCipher::RecordCipher(const std::uint8_t* key32, const std::uint8_t* iv16) {
    if (key32 == nullptr) {
        return;  // no key, no cipher: encrypt and decrypt refuse
    }
    std::memcpy(iv_, iv16, kBlockSize);
    EVP_CIPHER* cipher = EVP_CIPHER_fetch(nullptr, "AES-256-CBC-CTS", nullptr);
    if (cipher != nullptr) {
        encrypt_ = keyedContext(cipher, key32, iv_, 1);
        decrypt_ = keyedContext(cipher, key32, iv_, 0);
    }
    EVP_CIPHER_free(cipher);  // the contexts hold their own reference
    valid_ = encrypt_ != nullptr && decrypt_ != nullptr;
}

RecordCipher::~RecordCipher() {
    // Freeing a context cleanses its key schedule.
    EVP_CIPHER_CTX_free(encrypt_);
    EVP_CIPHER_CTX_free(decrypt_);
    wipeBytes(iv_, sizeof iv_);
}

bool RecordCipher::run(EVP_CIPHER_CTX* ctx, const std::uint8_t* in, std::uint8_t* out,
                       std::size_t n) {
    // Stealing needs the whole body in one call; no body of the format is longer than an int.
    if (!valid_ || n < kBlockSize || n > INT_MAX ||
        EVP_CipherInit_ex2(ctx, nullptr, nullptr, iv_, -1, nullptr) != 1) {
        return false;
    }
    int written = 0;
    return EVP_CipherUpdate(ctx, out, &written, in, static_cast<int>(n)) == 1 &&
           static_cast<std::size_t>(written) == n;
}

bool RecordCipher::encrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t n) {
    return run(encrypt_, in, out, n);
}

bool RecordCipher::decrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t n) {
    return run(decrypt_, in, out, n);
}

}  // namespace vlt
