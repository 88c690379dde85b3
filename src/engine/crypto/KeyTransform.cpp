#include "engine/crypto/KeyTransform.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <memory>

#include "engine/crypto/SHA256.h"

namespace vlt {
namespace {

constexpr std::size_t kKeySize = 32;
// The clock is read every so many rounds (well under a millisecond of work), and the windows get
// their events once about every frame: pumping after every round made a file with millions of
// rounds take seconds longer than its rounds do.
constexpr std::int32_t kRoundsPerClockCheck = 1024;
constexpr auto kPumpEvery = std::chrono::milliseconds(16);

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

// Both directions of the transformation: one ECB context serves every round.
SecureBuffer transformKey(TraceLog& log, std::string_view proc, std::u16string_view message,
                          bool encrypt, const std::uint8_t* input32, const std::uint8_t* key32,
                          std::int32_t rounds, const RoundCallback& progress) {
    log.Trace(message, proc);
    SecureBuffer result(kKeySize);
    if (input32 == nullptr || key32 == nullptr) {
        // An input that could not be computed has no transformation.
        result.release();
    } else if (rounds > 0) {
        std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree> ctx(EVP_CIPHER_CTX_new());
        bool ok = ctx != nullptr &&
                  EVP_CipherInit_ex(ctx.get(), EVP_aes_256_ecb(), nullptr, key32, nullptr,
                                    encrypt ? 1 : 0) == 1 &&
                  EVP_CIPHER_CTX_set_padding(ctx.get(), 0) == 1;
        const std::uint8_t* source = input32;
        auto lastPump = std::chrono::steady_clock::now();
        for (std::int32_t round = 1; ok && round <= rounds; ++round) {
            int written = 0;
            ok = EVP_CipherUpdate(ctx.get(), result.data(), &written, source,
                                  static_cast<int>(kKeySize)) == 1 &&
                 written == static_cast<int>(kKeySize);
            source = result.data();
            if (progress && round % kRoundsPerClockCheck == 0) {
                if (std::chrono::steady_clock::now() - lastPump >= kPumpEvery) {
                    progress();
                    // Counted from the pump's end, so that a slow pump never shortens the gap.
                    lastPump = std::chrono::steady_clock::now();
                }
            }
        }
        if (!ok) {
            // A half-transformed key must never be mistaken for the real one.
            result.release();
        }
    }
    log.Trace(u"Done", proc);
    return result;
}

}  // namespace

RandomBytes systemRandomBytes() {
    return [](std::uint8_t* out, std::size_t n) {
        while (n != 0) {
            int chunk = static_cast<int>(std::min<std::size_t>(n, INT_MAX));
            if (RAND_bytes(out, chunk) != 1) {
                return false;
            }
            out += chunk;
            n -= static_cast<std::size_t>(chunk);
        }
        return true;
    };
}

std::int32_t CreateRandomNumberL(TraceLog& log, const NumberSource& source, std::int32_t a,
                                 std::int32_t b) {
    constexpr std::string_view kProc = "CreateRandomNumberL";
    log.Trace(u"Creating random number", kProc);
    const std::int64_t low = std::min(a, b);
    const std::int64_t span = std::llabs(std::int64_t{b} - std::int64_t{a});
    const std::int64_t value = low + source(span);
    log.Trace(u"Done", kProc);
    return static_cast<std::int32_t>(value);
}

SecureBuffer CreateIV(TraceLog& log, const NumberSource& source, std::size_t n,
                      const RandomBytes& strong) {
    constexpr std::string_view kProc = "CreateIV";
    log.Trace(u"Creating IV", kProc);
    SecureBuffer iv(n);
    // The strong source's own verdict decides: a failed fill must not leave predictable bytes.
    if (strong && strong(iv.data(), n)) {
        log.Trace(u"OpenCryptRandom()", kProc);
    } else {
        log.Trace(u"Using alternative method", kProc);
        for (std::size_t i = 0; i < n; ++i) {
            iv[i] = static_cast<std::uint8_t>(CreateRandomNumberL(log, source, 1, 254));
        }
    }
    log.Trace(u"Done", kProc);
    return iv;
}

SecureBuffer EncryptKey256(TraceLog& log, const std::uint8_t* input32, const std::uint8_t* key32,
                           std::int32_t rounds, const RoundCallback& progress) {
    return transformKey(log, "EncryptKey256", u"Encrypting key", true, input32, key32, rounds,
                        progress);
}

SecureBuffer DecryptKey256(TraceLog& log, const std::uint8_t* input32, const std::uint8_t* key32,
                           std::int32_t rounds, const RoundCallback& progress) {
    return transformKey(log, "DecryptKey256", u"Decrypting key", false, input32, key32, rounds,
                        progress);
}

SecureBuffer DeriveContainerKey(TraceLog& log, const SecureText& password,
                                const std::uint8_t* iv2_32, std::int32_t rounds,
                                const RoundCallback& progress, SecureBuffer* hashOut) {
    SecureBuffer hash = PasswordHash(log, password);
    // hash.data() is null when the digest failed: the key is then empty as well.
    SecureBuffer key = EncryptKey256(log, hash.data(), iv2_32, rounds, progress);
    if (hashOut != nullptr) {
        *hashOut = std::move(hash);
    }
    return key;
}

}  // namespace vlt
