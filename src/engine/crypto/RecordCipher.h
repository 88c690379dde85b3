#pragma once
// The cipher of every record body: AES-256-CBC restarted from the same IV for each record, with
// ciphertext stealing (the CS2 arrangement) for a partial last block, so the ciphertext is exactly
// as long as the body. One object serves a whole container: its cipher contexts are keyed once
// and only their IV is reset per record.

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

    // False when the cipher contexts could not be set up; encrypt and decrypt then refuse.
    bool valid() const { return valid_; }

    // n bytes from in to out (which may be the same buffer). False for n < 16 or a cipher failure.
    bool encrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t n);
    bool decrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t n);

  private:
    bool cbc(EVP_CIPHER_CTX* ctx, const std::uint8_t* in, std::uint8_t* out, std::size_t n);
    bool restart(EVP_CIPHER_CTX* ctx);

    EVP_CIPHER_CTX* cbcEncrypt_ = nullptr;
    EVP_CIPHER_CTX* cbcDecrypt_ = nullptr;
    EVP_CIPHER_CTX* blockEncrypt_ = nullptr;  // ECB, for the stolen tail
    EVP_CIPHER_CTX* blockDecrypt_ = nullptr;
    std::uint8_t iv_[kBlockSize];
    bool valid_ = false;
};

}  // namespace vlt
