#include <gtest/gtest.h>

#include <vector>

#include "HexBytes.h"
#include "engine/crypto/Crc32.h"

namespace vlt {
namespace {

std::uint32_t crcOf(const std::vector<std::uint8_t>& bytes, std::uint32_t start = 0) {
    return Crc32Update(start, bytes.data(), bytes.size());
}

TEST(Crc32, KnownValues) {
    EXPECT_EQ(crcOf({'1', '2', '3', '4', '5', '6', '7', '8', '9'}), 0xCBF43926u);
    EXPECT_EQ(crcOf(test::fromHex("01000000 01000000 00000000 02000000 0000")), 0x588E39D1u);
    EXPECT_EQ(crcOf(test::fromHex("4e61bc00 01000000 05000000 0a000000 48006f006d0065000000")),
              0xC5978BB1u);
    EXPECT_EQ(crcOf({}), 0u);
    EXPECT_EQ(crcOf({}, 0x12345678u), 0x12345678u);
}

TEST(Crc32, ChainingEqualsConcatenation) {
    const auto first = test::fromHex("01000000 01000000 00000000 02000000 0000");
    const auto second = test::fromHex("4e61bc00 01000000 05000000 0a000000 48006f006d0065000000");
    std::vector<std::uint8_t> both = first;
    both.insert(both.end(), second.begin(), second.end());
    EXPECT_EQ(crcOf(second, crcOf(first)), crcOf(both));
    EXPECT_NE(crcOf(first, crcOf(second)), crcOf(both)) << "order must matter";
    // Any split point gives the same checksum.
    for (std::size_t split = 0; split <= both.size(); ++split) {
        std::uint32_t crc = Crc32Update(0, both.data(), split);
        ASSERT_EQ(Crc32Update(crc, both.data() + split, both.size() - split), crcOf(both))
            << "split at " << split;
    }
}

}  // namespace
}  // namespace vlt
