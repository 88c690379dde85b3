#include <gtest/gtest.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/params.h>

#include <vector>

#include "HexBytes.h"
#include "engine/crypto/KeyTransform.h"
#include "engine/crypto/RecordCipher.h"

namespace vlt {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The container key of password "abc" with transformation key 00..1f and 5120 rounds.
const Bytes kKey =
    test::fromHex("1a0f9eaf437209f170bdf70f4231ee19873fb528be08eff053750194a33bfee1");
const Bytes kIv = test::byteRun(0x20, 16);

// Group body: ID 1, Depth 1, Icon 0, empty name (L = 2).
const Bytes kEmptyGroup = test::fromHex("01000000 01000000 00000000 02000000 0000");
// Group body: ID 12345678, Depth 1, Icon 5, name "Home" (L = 10).
const Bytes kHomeGroup = test::fromHex("4e61bc00 01000000 05000000 0a000000 48006f006d0065000000");

// The library's own CBC-CS2 cipher, as an independent reference.
Bytes referenceCs2(const Bytes& key, const Bytes& iv, const Bytes& in, bool encrypt) {
    EVP_CIPHER* cipher = EVP_CIPHER_fetch(nullptr, "AES-256-CBC-CTS", nullptr);
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    char mode[] = "CS2";
    OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_CIPHER_PARAM_CTS_MODE, mode, 0),
                           OSSL_PARAM_construct_end()};
    Bytes out(in.size());
    int written = 0;
    bool ok =
        cipher != nullptr && ctx != nullptr &&
        EVP_CipherInit_ex2(ctx, cipher, key.data(), iv.data(), encrypt ? 1 : 0, params) == 1 &&
        EVP_CIPHER_CTX_set_params(ctx, params) == 1 &&
        EVP_CipherUpdate(ctx, out.data(), &written, in.data(), static_cast<int>(in.size())) == 1;
    EXPECT_TRUE(ok) << "reference cipher unavailable";
    EXPECT_EQ(static_cast<std::size_t>(written), in.size());
    EVP_CIPHER_CTX_free(ctx);
    EVP_CIPHER_free(cipher);
    return out;
}

Bytes patterned(std::size_t length, std::uint8_t seed) {
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 167 + seed);
    }
    return bytes;
}

Bytes encrypted(RecordCipher& cipher, const Bytes& body) {
    Bytes out(body.size());
    EXPECT_TRUE(cipher.encrypt(body.data(), out.data(), body.size()));
    return out;
}

Bytes decrypted(RecordCipher& cipher, const Bytes& body) {
    Bytes out(body.size());
    EXPECT_TRUE(cipher.decrypt(body.data(), out.data(), body.size()));
    return out;
}

TEST(RecordCipher, GroupBodiesGiveKnownCiphertexts) {
    RecordCipher cipher(kKey.data(), kIv.data());
    ASSERT_TRUE(cipher.valid());
    EXPECT_EQ(test::toHex(encrypted(cipher, kEmptyGroup)), "d62814b25fbc3e2eb9b967c2487145ccb937");
    EXPECT_EQ(test::toHex(encrypted(cipher, kHomeGroup)),
              "25be4b982735ebc04098fc46c46a52ee4c2474640f8debdd76ef");
    EXPECT_EQ(decrypted(cipher, test::fromHex("d62814b25fbc3e2eb9b967c2487145ccb937")),
              kEmptyGroup);
    EXPECT_EQ(
        decrypted(cipher, test::fromHex("25be4b982735ebc04098fc46c46a52ee4c2474640f8debdd76ef")),
        kHomeGroup);
}

TEST(RecordCipher, EqualsLibraryCs2ForEveryLength16To200) {
    const Bytes key = patterned(32, 0x5A);
    const Bytes iv = patterned(16, 0xC3);
    RecordCipher cipher(key.data(), iv.data());
    for (std::size_t n = 16; n <= 200; ++n) {
        const Bytes body = patterned(n, static_cast<std::uint8_t>(n));
        const Bytes expected = referenceCs2(key, iv, body, true);
        ASSERT_EQ(encrypted(cipher, body), expected) << "length " << n;
        ASSERT_EQ(decrypted(cipher, expected), body) << "length " << n;
        EXPECT_EQ(referenceCs2(key, iv, expected, false), body) << "length " << n;
    }
}

TEST(RecordCipher, WorksInPlace) {
    RecordCipher cipher(kKey.data(), kIv.data());
    for (std::size_t n : {16u, 17u, 31u, 32u, 33u, 47u, 4096u, 4111u}) {
        const Bytes body = patterned(n, 0x11);
        Bytes buffer = body;
        ASSERT_TRUE(cipher.encrypt(buffer.data(), buffer.data(), n));
        EXPECT_EQ(buffer, referenceCs2(kKey, kIv, body, true)) << "length " << n;
        ASSERT_TRUE(cipher.decrypt(buffer.data(), buffer.data(), n));
        EXPECT_EQ(buffer, body) << "length " << n;
    }
}

TEST(RecordCipher, EveryRecordRestartsFromTheIv) {
    RecordCipher shared(kKey.data(), kIv.data());
    const Bytes other = patterned(77, 0x42);
    // A record encrypted after others must look as if it were the first.
    encrypted(shared, other);
    encrypted(shared, patterned(64, 0x01));
    decrypted(shared, other);
    EXPECT_EQ(test::toHex(encrypted(shared, kHomeGroup)),
              "25be4b982735ebc04098fc46c46a52ee4c2474640f8debdd76ef");
    EXPECT_EQ(decrypted(shared, test::fromHex("d62814b25fbc3e2eb9b967c2487145ccb937")),
              kEmptyGroup);
}

TEST(RecordCipher, LargeBodyRoundTrip) {
    RecordCipher cipher(kKey.data(), kIv.data());
    const Bytes body = patterned(3 * 1024 * 1024 + 9, 0x77);
    const Bytes sealed = encrypted(cipher, body);
    EXPECT_EQ(sealed, referenceCs2(kKey, kIv, body, true));
    EXPECT_EQ(decrypted(cipher, sealed), body);
}

TEST(RecordCipher, NoKeyNoCipher) {
    // An empty container key (its derivation failed) must never encrypt under an unset key.
    RecordCipher cipher(nullptr, kIv.data());
    EXPECT_FALSE(cipher.valid());
    Bytes buffer(32, 0xAA);
    EXPECT_FALSE(cipher.encrypt(buffer.data(), buffer.data(), buffer.size()));
    EXPECT_FALSE(cipher.decrypt(buffer.data(), buffer.data(), buffer.size()));
    EXPECT_EQ(buffer, Bytes(32, 0xAA));
}

TEST(RecordCipher, BodiesShorterThanOneBlockAreRefused) {
    RecordCipher cipher(kKey.data(), kIv.data());
    for (std::size_t n : {0u, 1u, 15u}) {
        Bytes in(16, 0xAA), out(16, 0x55);
        EXPECT_FALSE(cipher.encrypt(in.data(), out.data(), n)) << "length " << n;
        EXPECT_FALSE(cipher.decrypt(in.data(), out.data(), n)) << "length " << n;
        EXPECT_EQ(out, Bytes(16, 0x55)) << "output touched for length " << n;
    }
}

}  // namespace
}  // namespace vlt
