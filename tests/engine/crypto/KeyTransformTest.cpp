#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <vector>

#include "HexBytes.h"
#include "TraceCapture.h"
#include "engine/container/ContainerFormat.h"
#include "engine/crypto/KeyTransform.h"

namespace vlt {
namespace {

constexpr const char* kAbcDigest =
    "54f0a6ab7fb3d5cec5075b63ab8756fdb01634129601bf5103b3f3e424509cdc";
const std::vector<std::uint8_t> kIv2 = test::byteRun(0x00, 32);

// A number source that records the bounds it is asked for and answers from a script.
class ScriptedNumbers {
  public:
    explicit ScriptedNumbers(std::vector<std::int64_t> answers = {})
        : answers_(std::move(answers)) {}

    std::vector<std::int64_t> asked;

    NumberSource source() {
        return [this](std::int64_t max) {
            asked.push_back(max);
            return answers_.empty() ? 0 : answers_[next_++ % answers_.size()];
        };
    }

  private:
    std::vector<std::int64_t> answers_;
    std::size_t next_ = 0;
};

std::string hexOf(const SecureBuffer& buffer) {
    return test::toHex(buffer.bytes());
}

TEST(KeyTransform, SingleRoundIsFips197AesOnBothHalves) {
    TraceLog quiet;
    const auto key = test::byteRun(0x00, 32);
    const auto plain =
        test::fromHex("00112233445566778899aabbccddeeff 00112233445566778899aabbccddeeff");
    SecureBuffer cipher = EncryptKey256(quiet, plain.data(), key.data(), 1, {});
    EXPECT_EQ(hexOf(cipher),
              "8ea2b7ca516745bfeafc49904b496089"
              "8ea2b7ca516745bfeafc49904b496089");
    EXPECT_EQ(hexOf(DecryptKey256(quiet, cipher.data(), key.data(), 1, {})), test::toHex(plain));
}

TEST(KeyTransform, KnownRoundResultsAndTheirInverse) {
    struct Case {
        std::int32_t rounds;
        const char* result;
    };
    const Case cases[] = {
        {1, "65d852c771ba94b77c6c586b7652a4a12efaf8846f4f5c0c934ce48dfc8cfc23"},
        {2, "b1181db99eea521be01e6f6bc85b4f3250f6f56e973cfac815872f84469d9a45"},
        {5120, "1a0f9eaf437209f170bdf70f4231ee19873fb528be08eff053750194a33bfee1"},
    };
    TraceLog quiet;
    const auto input = test::fromHex(kAbcDigest);
    for (const Case& c : cases) {
        SecureBuffer key = EncryptKey256(quiet, input.data(), kIv2.data(), c.rounds, {});
        EXPECT_EQ(hexOf(key), c.result) << c.rounds << " rounds";
        EXPECT_EQ(test::toHex(input), kAbcDigest) << "input changed";

        SecureBuffer back = DecryptKey256(quiet, key.data(), kIv2.data(), c.rounds, {});
        EXPECT_EQ(hexOf(back), kAbcDigest) << c.rounds << " rounds";
        EXPECT_EQ(hexOf(key), c.result) << "decryption changed its input";
    }
}

TEST(KeyTransform, NoRoundsGiveZeroBytes) {
    TraceLog quiet;
    const auto input = test::fromHex(kAbcDigest);
    const std::string zeros(64, '0');
    for (std::int32_t rounds : {0, -1, std::numeric_limits<std::int32_t>::min()}) {
        int calls = 0;
        auto count = [&calls] { ++calls; };
        EXPECT_EQ(hexOf(EncryptKey256(quiet, input.data(), kIv2.data(), rounds, count)), zeros);
        EXPECT_EQ(hexOf(DecryptKey256(quiet, input.data(), kIv2.data(), rounds, count)), zeros);
        EXPECT_EQ(calls, 0);
    }
}

TEST(KeyTransform, AMissingInputGivesNoKey) {
    // A digest that failed leaves no bytes: the transformation must not read through the null.
    TraceLog quiet;
    const auto input = test::fromHex(kAbcDigest);
    EXPECT_TRUE(EncryptKey256(quiet, nullptr, kIv2.data(), 5120, {}).empty());
    EXPECT_TRUE(DecryptKey256(quiet, input.data(), nullptr, 5120, {}).empty());
}

TEST(KeyTransform, LongTransformationsPumpEventsAboutEveryFrameNotEveryRound) {
    using std::chrono::milliseconds;
    using std::chrono::steady_clock;
    TraceLog quiet;
    const auto input = test::fromHex(kAbcDigest);
    // The most rounds a file may ask for: well over 100 ms of work.
    std::vector<steady_clock::time_point> marks = {steady_clock::now()};
    SecureBuffer key = EncryptKey256(quiet, input.data(), kIv2.data(), kMaxRounds,
                                     [&marks] { marks.push_back(steady_clock::now()); });
    ASSERT_EQ(key.size(), 32u);
    const std::size_t pumps = marks.size() - 1;
    marks.push_back(steady_clock::now());
    for (std::size_t i = 1; i < marks.size(); ++i) {
        const auto gap = marks[i] - marks[i - 1];
        if (i <= pumps) {
            EXPECT_GE(gap, milliseconds(16)) << "pump " << i << " came within a frame";
        }
        EXPECT_LT(gap, milliseconds(100)) << "the windows went without events";
    }
}

TEST(KeyTransform, DecryptionInvertsEncryptionForManyRoundCounts) {
    TraceLog quiet;
    const auto input = test::byteRun(0xA0, 32);
    const auto key = test::byteRun(0x37, 32);
    // Either side of the clock check every 1024 rounds.
    std::string previous;
    for (std::int32_t rounds : {3, 4, 1023, 1024, 1025, 2048, 8192}) {
        SecureBuffer once = EncryptKey256(quiet, input.data(), key.data(), rounds, {});
        ASSERT_EQ(once.size(), 32u);
        EXPECT_NE(hexOf(once), previous) << "round count " << rounds << " had no effect";
        previous = hexOf(once);
        EXPECT_EQ(hexOf(DecryptKey256(quiet, once.data(), key.data(), rounds, {})),
                  test::toHex(input))
            << rounds << " rounds";
    }
}

TEST(KeyTransform, TracesUnderItsOwnNames) {
    test::TraceCapture trace;
    const auto input = test::fromHex(kAbcDigest);
    SecureBuffer key = EncryptKey256(trace.log(), input.data(), kIv2.data(), 3, {});
    DecryptKey256(trace.log(), key.data(), kIv2.data(), 3, {});
    EXPECT_EQ(trace.lines(),
              "EncryptKey256() -> Encrypting key\n"
              "EncryptKey256() -> Done\n"
              "DecryptKey256() -> Decrypting key\n"
              "DecryptKey256() -> Done\n");
}

TEST(KeyTransform, ContainerKeyFromPassword) {
    TraceLog quiet;
    SecureBuffer hash;
    SecureBuffer key = DeriveContainerKey(quiet, SecureText(u"abc"), kIv2.data(), 5120, {}, &hash);
    EXPECT_EQ(hexOf(key), "1a0f9eaf437209f170bdf70f4231ee19873fb528be08eff053750194a33bfee1");
    EXPECT_EQ(hexOf(hash), kAbcDigest);
    // The hash is optional and does not change the key.
    EXPECT_EQ(hexOf(DeriveContainerKey(quiet, SecureText(u"abc"), kIv2.data(), 5120, {})),
              hexOf(key));
    EXPECT_NE(hexOf(DeriveContainerKey(quiet, SecureText(u"abd"), kIv2.data(), 5120, {})),
              hexOf(key));
}

TEST(RandomNumber, BoundsInEitherOrderDrawFromTheSameRange) {
    TraceLog quiet;
    ScriptedNumbers numbers({0, 3072, 1000});
    NumberSource source = numbers.source();
    EXPECT_EQ(CreateRandomNumberL(quiet, source, 8192, 5120), 5120);
    EXPECT_EQ(CreateRandomNumberL(quiet, source, 5120, 8192), 8192);
    EXPECT_EQ(CreateRandomNumberL(quiet, source, 8192, 5120), 6120);
    EXPECT_EQ(numbers.asked, (std::vector<std::int64_t>{3072, 3072, 3072}));
}

TEST(RandomNumber, WideAndDegenerateRanges) {
    TraceLog quiet;
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    ScriptedNumbers numbers({4294967295LL, 0, 3});
    NumberSource source = numbers.source();
    // The full int32 range spans 2^32 - 1, which only fits in 64-bit arithmetic.
    EXPECT_EQ(CreateRandomNumberL(quiet, source, kMax, kMin), kMax);
    EXPECT_EQ(CreateRandomNumberL(quiet, source, 7, 7), 7);
    EXPECT_EQ(CreateRandomNumberL(quiet, source, 2, -5), -2);
    EXPECT_EQ(numbers.asked, (std::vector<std::int64_t>{4294967295LL, 0, 7}));
}

TEST(RandomNumber, OrdinaryGeneratorStaysInRangeAndTraces) {
    test::TraceCapture trace;
    NumberSource source = defaultNumberSource();
    bool low = false, high = false;
    for (int i = 0; i < 2000; ++i) {
        std::int32_t value = CreateRandomNumberL(trace.log(), source, 8192, 8187);
        ASSERT_GE(value, 8187);
        ASSERT_LE(value, 8192);
        low |= value == 8187;
        high |= value == 8192;
    }
    EXPECT_TRUE(low && high) << "both ends must be reachable";
    EXPECT_TRUE(trace.lines().starts_with(
        "CreateRandomNumberL() -> Creating random number\nCreateRandomNumberL() -> Done\n"));
}

TEST(CreateIV, StrongSourceFillsTheBlock) {
    test::TraceCapture trace;
    ScriptedNumbers numbers;
    RandomBytes strong = [](std::uint8_t* out, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = static_cast<std::uint8_t>(0xF0 + i);
        }
        return true;
    };
    SecureBuffer iv = CreateIV(trace.log(), numbers.source(), 4, strong);
    EXPECT_EQ(hexOf(iv), "f0f1f2f3");
    EXPECT_TRUE(numbers.asked.empty());
    EXPECT_EQ(trace.lines(),
              "CreateIV() -> Creating IV\n"
              "CreateIV() -> OpenCryptRandom()\n"
              "CreateIV() -> Done\n");
}

TEST(CreateIV, FailingStrongSourceFallsBackToBytesOneTo254) {
    test::TraceCapture trace;
    // Answers 0 and 253 are the extremes of 1..254; the failed source leaves 0x00 and 0xFF behind.
    ScriptedNumbers numbers({0, 253, 100});
    RandomBytes failing = [](std::uint8_t* out, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = i % 2 ? 0xFF : 0x00;
        }
        return false;
    };
    SecureBuffer iv = CreateIV(trace.log(), numbers.source(), 32, failing);
    ASSERT_EQ(iv.size(), 32u);
    for (std::size_t i = 0; i < iv.size(); ++i) {
        EXPECT_EQ(iv[i], std::vector<int>({1, 254, 101})[i % 3]) << "byte " << i;
    }
    EXPECT_EQ(numbers.asked, std::vector<std::int64_t>(32, 253));

    const std::string lines = trace.lines();
    EXPECT_TRUE(
        lines.starts_with("CreateIV() -> Creating IV\nCreateIV() -> Using alternative method\n"));
    EXPECT_TRUE(lines.ends_with("CreateRandomNumberL() -> Done\nCreateIV() -> Done\n"));
}

TEST(CreateIV, SystemSourceGivesFreshBlocks) {
    TraceLog quiet;
    ScriptedNumbers numbers;
    SecureBuffer first = CreateIV(quiet, numbers.source(), 32);
    SecureBuffer second = CreateIV(quiet, numbers.source(), 32);
    ASSERT_EQ(first.size(), 32u);
    EXPECT_NE(hexOf(first), hexOf(second));
    EXPECT_TRUE(numbers.asked.empty()) << "the fallback ran although the system source works";

    std::uint8_t none = 0;
    EXPECT_TRUE(systemRandomBytes()(&none, 0));
}

}  // namespace
}  // namespace vlt
