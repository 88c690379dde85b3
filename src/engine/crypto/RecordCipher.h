#pragma once
// The cipher of every record body: AES-256-CBC restarted from the same IV for each record, with
// ciphertext stealing (the CS2 arrangement) for a partial last block, so the ciphertext is exactly
// as long as the body: the crypto library's AES-256-CBC-CTS in its CS2 mode. One object serves a
// whole container: its cipher contexts are keyed once and only their IV is reset per record.

#include <cstddef>
#include <cstdint>

#include <openssl/types.h>

namespace vlt {

class RecordCipher {
  public:
    static constexpr std::size_t kKeySize = 32;
    static constexpr std::size_t kBlockSize = 16;

    RecordCipher(const std::uint8_t* key32, const std::uint8_t* iv16);
    ~RecordCipher();
    RecordCipher(const RecordCipher&) = delete;
    RecordCipher& operator=(const RecordCipher&) = delete;

    // False when the cipher contexts could not be set up (or key32 is null); encrypt and decrypt
    // then refuse.
    bool valid() const { return valid_; }

    // n bytes from in to out (which may be the same buffer). False for n < 16 or a cipher failure.
    bool encrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t n);
    bool decrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t n);

  private:
    // One body from the IV, in a single call as stealing needs.
    bool run(EVP_CIPHER_CTX* ctx, const std::uint8_t* in, std::uint8_t* out, std::size_t n);

    EVP_CIPHER_CTX* encrypt_ = nullptr;
    EVP_CIPHER_CTX* decrypt_ = nullptr;
    std::uint8_t iv_[kBlockSize] = {};
    bool valid_ = false;
};

}  // namespace vlt
