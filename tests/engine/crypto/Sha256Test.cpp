#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <vector>

#include "HexBytes.h"
#include "TraceCapture.h"
#include "engine/crypto/SHA256.h"

namespace vlt {
namespace {

constexpr const char* kAbcWithTerminator =
    "54f0a6ab7fb3d5cec5075b63ab8756fdb01634129601bf5103b3f3e424509cdc";

std::vector<std::uint8_t> referenceDigest(const std::vector<std::uint8_t>& message) {
    std::vector<std::uint8_t> digest(32);
    unsigned int size = 0;
    EXPECT_EQ(
        EVP_Digest(message.data(), message.size(), digest.data(), &size, EVP_sha256(), nullptr), 1);
    return digest;
}

std::vector<std::uint8_t> patterned(std::size_t length) {
    std::vector<std::uint8_t> message(length);
    for (std::size_t i = 0; i < length; ++i) {
        message[i] = static_cast<std::uint8_t>(i * 131 + 7);
    }
    return message;
}

std::vector<std::uint8_t> digestOf(Sha256& state) {
    std::vector<std::uint8_t> digest(Sha256::kDigestSize);
    state.final(digest.data());
    return digest;
}

TEST(Sha256, PasswordTextIsHashedWithItsTerminator) {
    test::TraceCapture trace;
    const auto bytes = test::fromHex("61 00 62 00 63 00 00 00");
    SecureBuffer digest = SHA256Fingerprint(trace.log(), bytes.data(), bytes.size());
    EXPECT_EQ(test::toHex(digest.bytes()), kAbcWithTerminator);
    EXPECT_EQ(trace.lines(),
              "SHA256Fingerprint() -> Memory allocated\n"
              "SHA256Fingerprint() -> Returning\n");

    TraceLog quiet;
    EXPECT_EQ(test::toHex(PasswordHash(quiet, SecureText(u"abc")).bytes()), kAbcWithTerminator);
}

TEST(Sha256, PasswordBytesAreLittleEndianUtf16) {
    TraceLog quiet;
    // Characters above U+00FF put their high byte second; the empty password is just the NUL.
    EXPECT_EQ(test::toHex(PasswordHash(quiet, SecureText(u"\u00e9\u4e2d\U0001F511")).bytes()),
              test::toHex(referenceDigest(test::fromHex("e9 00 2d 4e 3d d8 11 dd 00 00"))));
    EXPECT_EQ(test::toHex(PasswordHash(quiet, SecureText(u"")).bytes()),
              test::toHex(referenceDigest({0, 0})));
}

TEST(Sha256, EqualsTheLibraryDigestForEveryLengthUpTo300) {
    TraceLog quiet;
    for (std::size_t length = 0; length <= 300; ++length) {
        const auto message = patterned(length);
        SecureBuffer digest = SHA256Fingerprint(quiet, message.data(), message.size());
        ASSERT_EQ(test::toHex(digest.bytes()), test::toHex(referenceDigest(message)))
            << "length " << length;
    }
}

TEST(Sha256, PiecewiseUpdatesEqualOneUpdate) {
    // Odd piece sizes land the block boundary at every offset of the buffered tail.
    constexpr std::size_t kPieces[] = {1, 3, 7, 13, 63, 64, 65, 2};
    for (std::size_t length = 0; length <= 300; ++length) {
        const auto message = patterned(length);
        for (std::size_t start = 0; start < std::size(kPieces); ++start) {
            Sha256 state;
            std::size_t done = 0;
            for (std::size_t p = start; done < length; ++p) {
                std::size_t piece = std::min(kPieces[p % std::size(kPieces)], length - done);
                state.update(message.data() + done, piece);
                done += piece;
            }
            ASSERT_EQ(test::toHex(digestOf(state)), test::toHex(referenceDigest(message)))
                << "length " << length << ", first piece " << kPieces[start];
        }
    }
}

TEST(Sha256, LongInputAndReuseAfterFinal) {
    const auto message = patterned(3 * 1024 * 1024 + 17);
    Sha256 state;
    state.update(message.data(), message.size());
    EXPECT_EQ(test::toHex(digestOf(state)), test::toHex(referenceDigest(message)));
    // final() starts over: the next digest does not carry the previous message.
    state.update("abc", 3);
    EXPECT_EQ(test::toHex(digestOf(state)),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

}  // namespace
}  // namespace vlt
