#include "engine/crypto/RecordCipher.h"

#include <openssl/evp.h>

#include <cstring>

#include "engine/crypto/SecureBuffer.h"

namespace vlt {
namespace {

// EVP lengths are int: long attachment bodies go through in block-aligned slices.
constexpr std::size_t kSlice = std::size_t{1} << 30;

EVP_CIPHER_CTX* keyedContext(const EVP_CIPHER* cipher, const std::uint8_t* key,
                             const std::uint8_t* iv, int encrypt) {
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    if (ctx != nullptr && (EVP_CipherInit_ex(ctx, cipher, nullptr, key, iv, encrypt) != 1 ||
                           EVP_CIPHER_CTX_set_padding(ctx, 0) != 1)) {
        EVP_CIPHER_CTX_free(ctx);
        ctx = nullptr;
    }
    return ctx;
}

bool oneBlock(EVP_CIPHER_CTX* ctx, const std::uint8_t* in, std::uint8_t* out) {
    int written = 0;
    return EVP_CipherUpdate(ctx, out, &written, in, static_cast<int>(RecordCipher::kBlockSize)) ==
               1 &&
           written == static_cast<int>(RecordCipher::kBlockSize);
}

}  // namespace

RecordCipher::RecordCipher(const std::uint8_t* key32, const std::uint8_t* iv16) {
    std::memcpy(iv_, iv16, kBlockSize);
    cbcEncrypt_ = keyedContext(EVP_aes_256_cbc(), key32, iv_, 1);
    cbcDecrypt_ = keyedContext(EVP_aes_256_cbc(), key32, iv_, 0);
    blockEncrypt_ = keyedContext(EVP_aes_256_ecb(), key32, nullptr, 1);
    blockDecrypt_ = keyedContext(EVP_aes_256_ecb(), key32, nullptr, 0);
    valid_ = cbcEncrypt_ != nullptr && cbcDecrypt_ != nullptr && blockEncrypt_ != nullptr &&
             blockDecrypt_ != nullptr;
}

RecordCipher::~RecordCipher() {
    // Freeing a context cleanses its key schedule.
    EVP_CIPHER_CTX_free(cbcEncrypt_);
    EVP_CIPHER_CTX_free(cbcDecrypt_);
    EVP_CIPHER_CTX_free(blockEncrypt_);
    EVP_CIPHER_CTX_free(blockDecrypt_);
    wipeBytes(iv_, sizeof iv_);
}

bool RecordCipher::restart(EVP_CIPHER_CTX* ctx) {
    return EVP_CipherInit_ex(ctx, nullptr, nullptr, nullptr, iv_, -1) == 1;
}

bool RecordCipher::cbc(EVP_CIPHER_CTX* ctx, const std::uint8_t* in, std::uint8_t* out,
                       std::size_t n) {
    while (n != 0) {
        std::size_t slice = n < kSlice ? n : kSlice;
        int written = 0;
        if (EVP_CipherUpdate(ctx, out, &written, in, static_cast<int>(slice)) != 1 ||
            written != static_cast<int>(slice)) {
            return false;
        }
        in += slice;
        out += slice;
        n -= slice;
    }
    return true;
}

bool RecordCipher::encrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t n) {
    if (!valid_ || n < kBlockSize || !restart(cbcEncrypt_)) {
        return false;
    }
    const std::size_t tail = n % kBlockSize;
    const std::size_t full = n - tail;
    std::uint8_t tailIn[kBlockSize];
    std::memcpy(tailIn, in + full, tail);  // read before an in-place run overwrites it
    bool ok = cbc(cbcEncrypt_, in, out, full);
    if (ok && tail != 0) {
        // T is the last full block's CBC output. Its first tail bytes move to the end; the block
        // before them becomes E((D xor T[0..r-1]) || T[r..15]).
        std::uint8_t* last = out + full - kBlockSize;
        std::uint8_t mixed[kBlockSize];
        std::memcpy(mixed, last, kBlockSize);
        std::memcpy(out + full, last, tail);
        for (std::size_t i = 0; i < tail; ++i) {
            mixed[i] ^= tailIn[i];
        }
        ok = oneBlock(blockEncrypt_, mixed, last);
        wipeBytes(mixed, sizeof mixed);
    }
    wipeBytes(tailIn, sizeof tailIn);
    return ok;
}

bool RecordCipher::decrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t n) {
    if (!valid_ || n < kBlockSize || !restart(cbcDecrypt_)) {
        return false;
    }
    const std::size_t tail = n % kBlockSize;
    const std::size_t full = n - tail;
    if (tail == 0) {
        return cbc(cbcDecrypt_, in, out, full);
    }
    // Undo the stealing first: X = D(stolen block) gives the tail (X[0..r-1] xor T[0..r-1]) and
    // the rest of T (X[r..15]); then the blocks C1..Ck-1, T are plain CBC.
    const std::uint8_t* stolen = in + full - kBlockSize;
    std::uint8_t mixed[kBlockSize];
    std::uint8_t lastCipher[kBlockSize];
    std::uint8_t tailOut[kBlockSize];
    bool ok = oneBlock(blockDecrypt_, stolen, mixed);
    if (ok) {
        std::memcpy(lastCipher, in + full, tail);
        std::memcpy(lastCipher + tail, mixed + tail, kBlockSize - tail);
        for (std::size_t i = 0; i < tail; ++i) {
            tailOut[i] = mixed[i] ^ lastCipher[i];
        }
        ok = cbc(cbcDecrypt_, in, out, full - kBlockSize) &&
             cbc(cbcDecrypt_, lastCipher, out + full - kBlockSize, kBlockSize);
        if (ok) {
            std::memcpy(out + full, tailOut, tail);
        }
    }
    wipeBytes(mixed, sizeof mixed);
    wipeBytes(tailOut, sizeof tailOut);
    return ok;
}

}  // namespace vlt
