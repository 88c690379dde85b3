#pragma once
// CRC-32 of IEEE 802.3 (reflected polynomial 0xEDB88320), the container's checksum over record
// bodies. Chaining from 0 through several bodies gives the CRC of their concatenation.

#include <zlib.h>

#include <cstddef>
#include <cstdint>

namespace vlt {

inline std::uint32_t Crc32Update(std::uint32_t crc, const std::uint8_t* data, std::size_t n) {
    // zlib takes a 32-bit length, so long bodies go through in slices.
    constexpr std::size_t kSlice = std::size_t{1} << 30;
    uLong value = crc;
    while (n != 0) {
        std::size_t slice = n < kSlice ? n : kSlice;
        value = crc32(value, data, static_cast<uInt>(slice));
        data += slice;
        n -= slice;
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace vlt
