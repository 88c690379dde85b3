#pragma once
// Decryption of a version-3 data stream: AES-256 block by block without chaining, then every
// block whitened with the decimal text of its 1-based index.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "SHA256.h"

namespace vlt::import {

// Bytes that are wiped when they go.
class SecretBytes {
  public:
    SecretBytes() = default;
    explicit SecretBytes(std::string bytes) : bytes_(std::move(bytes)) {}
    ~SecretBytes();
    SecretBytes(SecretBytes&& other) noexcept : bytes_(std::move(other.bytes_)) {}
    SecretBytes& operator=(SecretBytes&& other) noexcept;
    SecretBytes(const SecretBytes&) = delete;
    SecretBytes& operator=(const SecretBytes&) = delete;

    std::string& bytes() { return bytes_; }
    std::string_view view() const { return bytes_; }

  private:
    std::string bytes_;
};

struct V3Plaintext {
    SecretBytes Text;
    bool Ok = false;  // false only when the cipher could not run
};

// Each byte that differs from its key byte (the key repeated over data) is XORed with it.
void XorWithCyclicKey(std::uint8_t* data, std::size_t length, const std::uint8_t* key,
                      std::size_t keyLength);

// The plaintext of the stream: the decrypted blocks less the pad count in the last byte (1..16);
// empty when that byte is anything else or the stream is not whole blocks.
V3Plaintext ImportV3_Decrypt(std::string_view stream, const Digest256& key);

}  // namespace vlt::import
