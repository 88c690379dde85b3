#pragma once
// The SHA-256 block function on its own: version 3 containers pad some of their messages in a way
// no library digest does, so their digest is built on these rounds.

#include <cstdint>

namespace vlt {

inline constexpr std::uint32_t kSha256InitialChain[8] = {
    0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

// Runs the 64 rounds over one 64-byte block, adding the result into chain. Its working words are
// wiped before it returns: they hold words of the (often secret) message.
void Sha256Compress(std::uint32_t chain[8], const std::uint8_t* block);

}  // namespace vlt
