#include "Rijndael.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <climits>
#include <memory>

namespace vlt::import {

SecretBytes::~SecretBytes() {
    if (!bytes_.empty()) {
        OPENSSL_cleanse(bytes_.data(), bytes_.size());
    }
}

SecretBytes& SecretBytes::operator=(SecretBytes&& other) noexcept {
    if (this != &other) {
        if (!bytes_.empty()) {
            OPENSSL_cleanse(bytes_.data(), bytes_.size());
        }
        bytes_ = std::move(other.bytes_);
    }
    return *this;
}

void XorWithCyclicKey(std::uint8_t* data, std::size_t length, const std::uint8_t* key,
                      std::size_t keyLength) {
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t k = key[i % keyLength];
        if (data[i] != k) {
            data[i] ^= k;
        }
    }
}

V3Plaintext ImportV3_Decrypt(std::string_view stream, const Digest256& key) {
    V3Plaintext result;
    const std::size_t whole = stream.size() / 16 * 16;
    if (whole > std::size_t{INT_MAX}) {
        return result;
    }
    if (whole == 0 || whole != stream.size()) {
        // The last byte lies outside every block and counts as zero: no valid pad count.
        result.Ok = true;
        return result;
    }
    std::string& plain = result.Text.bytes();
    plain.resize(whole);
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                        EVP_CIPHER_CTX_free);
    int written = 0;
    auto* out = reinterpret_cast<unsigned char*>(plain.data());
    if (!ctx ||
        EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_ecb(), nullptr, key.data(), nullptr) != 1 ||
        EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1 ||
        EVP_DecryptUpdate(ctx.get(), out, &written,
                          reinterpret_cast<const unsigned char*>(stream.data()),
                          static_cast<int>(whole)) != 1 ||
        static_cast<std::size_t>(written) != whole) {
        return V3Plaintext{};
    }
    for (std::size_t block = 0; block < whole / 16; ++block) {
        const std::string index = std::to_string(block + 1);
        XorWithCyclicKey(out + 16 * block, 16, reinterpret_cast<const std::uint8_t*>(index.data()),
                         index.size());
    }
    const auto pad = static_cast<std::int8_t>(plain.back());
    if (pad >= 1 && pad <= 16) {
        OPENSSL_cleanse(plain.data() + whole - pad, static_cast<std::size_t>(pad));
        plain.resize(whole - static_cast<std::size_t>(pad));
    } else {
        OPENSSL_cleanse(plain.data(), plain.size());
        plain.clear();
    }
    result.Ok = true;
    return result;
}

}  // namespace vlt::import
