#pragma once
// SHA-256 (FIPS 180-4), the digest behind the container key. Kept as our own code so that the
// key derivation does not depend on which digests a crypto library build happens to offer.

#include <cstddef>
#include <cstdint>

#include "engine/crypto/SecureBuffer.h"
#include "engine/crypto/SecureText.h"
#include "engine/log/Logging.h"

namespace vlt {

class Sha256 {
  public:
    static constexpr std::size_t kDigestSize = 32;

    Sha256() { reset(); }
    // The state has seen secret input (passwords), so it is wiped rather than just dropped.
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(const void* data, std::size_t length);
    // Writes the digest of everything absorbed since construction (or the last final) and starts
    // over with a fresh state.
    void final(std::uint8_t out[kDigestSize]);

  private:
    void reset();
    void compress(const std::uint8_t* block);

    std::uint32_t chain_[8];
    std::uint64_t bitCount_;  // 64 bits wide, so inputs of any length are padded correctly
    std::size_t buffered_;
    std::uint8_t block_[64];
};

// The 32-byte SHA-256 digest of length bytes at data.
SecureBuffer SHA256Fingerprint(TraceLog& log, const void* data, std::size_t length);

// The digest of the password's UTF-16LE characters followed by a two-byte NUL, so the hashed
// length is 2 x (characters + 1) bytes: the first step of the container key.
SecureBuffer PasswordHash(TraceLog& log, const SecureText& password);

}  // namespace vlt
