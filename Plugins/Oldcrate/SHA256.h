#pragma once
// The digest behind the key of version-3 containers. That program's routine closed its padding
// block already when 56 bytes were buffered after the 0x80 marker (the published SHA-256 does
// so only above 56), so for inputs of 55 bytes modulo 64 its key differs from the published
// digest; both are offered.

#include <array>
#include <cstddef>
#include <cstdint>

namespace vlt::import {

enum class Sha256Padding {
    Container,  // as version-3 containers were keyed
    Published,  // FIPS 180-4
};

using Digest256 = std::array<std::uint8_t, 32>;

Digest256 HashKey256(const void* data, std::size_t length, Sha256Padding padding);

}  // namespace vlt::import
