#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <string>
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

TEST(Sha256, KnownDigestsAcrossTheBlockBoundaries) {
    // The standard's examples, and lengths whose padding ends a block exactly or spills into the
    // next one (55, 56 and 64 bytes).
    TraceLog quiet;
    auto digest = [&quiet](const std::string& message) {
        return test::toHex(SHA256Fingerprint(quiet, message.data(), message.size()).bytes());
    };
    EXPECT_EQ(digest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(digest("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(digest(std::string(55, 'a')),
              "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318");
    EXPECT_EQ(digest(std::string(56, 'a')),
              "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a");
    EXPECT_EQ(digest(std::string(64, 'a')),
              "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb");
    EXPECT_EQ(digest(std::string(1'000'000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

}  // namespace
}  // namespace vlt
