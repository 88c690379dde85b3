#include "SHA256.h"

#include <openssl/crypto.h>

#include <cstring>

#include "Sha256Block.h"

namespace vlt::import {

Digest256 HashKey256(const void* data, std::size_t length, Sha256Padding padding) {
    std::uint32_t chain[8];
    std::memcpy(chain, kSha256InitialChain, sizeof chain);
    const auto* in = static_cast<const std::uint8_t*>(data);
    std::size_t rest = length;
    for (; rest >= 64; in += 64, rest -= 64) {
        Sha256Compress(chain, in);
    }
    std::uint8_t block[64] = {};
    if (rest != 0) {
        std::memcpy(block, in, rest);
    }
    block[rest] = 0x80;
    const std::size_t buffered = rest + 1;
    const bool close = padding == Sha256Padding::Container ? buffered >= 56 : buffered > 56;
    if (close) {
        Sha256Compress(chain, block);
        std::memset(block, 0, sizeof block);
    }
    const std::uint64_t bits = static_cast<std::uint64_t>(length) * 8;
    for (int i = 0; i < 8; ++i) {
        block[56 + i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
    }
    Sha256Compress(chain, block);
    Digest256 digest;
    for (int i = 0; i < 8; ++i) {
        for (int b = 0; b < 4; ++b) {
            digest[4 * i + b] = static_cast<std::uint8_t>(chain[i] >> (24 - 8 * b));
        }
    }
    OPENSSL_cleanse(block, sizeof block);
    OPENSSL_cleanse(chain, sizeof chain);
    return digest;
}

}  // namespace vlt::import
