// The password generator: the order and ranges of its draws, its classes drawn from the real
// source, and its refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <set>
#include <utility>

#include "PasswordGenerator.h"

namespace vlt::dicebox {
namespace {

// Answers each draw from a script of (n, value) pairs and fails when a draw asks for another n.
class ScriptedRandom : public RandomSource {
  public:
    explicit ScriptedRandom(std::deque<std::pair<std::uint32_t, std::uint32_t>> script)
        : script_(std::move(script)) {}
    std::uint32_t Random(std::uint32_t n) override {
        if (script_.empty()) {
            ADD_FAILURE() << "unexpected draw Random(" << n << ")";
            return 0;
        }
        const auto [expected, value] = script_.front();
        script_.pop_front();
        EXPECT_EQ(n, expected) << "draw " << ++drawn_;
        return value;
    }
    bool done() const { return script_.empty(); }

  private:
    std::deque<std::pair<std::uint32_t, std::uint32_t>> script_;
    int drawn_ = 0;
};

constexpr ClassFlags kAll = {1, 1, 1, 1, 1, 1, 1, 1};

TEST(PasswordGenerator, OnePassVisitsTheClassesInOrderAndStopsAddingAtTheLength) {
    // clang-format off
    ScriptedRandom random({
        {1, 0}, {1, 1}, {25, 7},         // upper-case: 65 + 7 = 'H'
        {1, 1},                          // lower-case: first draw fails
        {1, 0}, {1, 0},                  // numbers: second draw fails
        {1, 0}, {1, 1}, {4, 4},          // mathematical signs: '='
        {1, 0}, {1, 1},                  // spaces: no draw of their own
        {1, 0}, {1, 1}, {5, 1}, {6, 6},  // special: group 1, 58 + 6 = '@'
        {1, 0}, {1, 1},                  // brackets: admitted, but the password is full
        {1, 1},                          // other ANSI characters
    });
    // clang-format on
    std::u16string password;
    ASSERT_EQ(GeneratePassword(random, 4, 1, u"", kAll, password), Generated);
    EXPECT_EQ(password, u"H= @");
    EXPECT_TRUE(random.done());
}

TEST(PasswordGenerator, GroupsOfSpecialBracketsAndAnsiThenCustomSetByCodePoint) {
    const ClassFlags some = {0, 0, 0, 0, 0, 1, 1, 1};
    // clang-format off
    ScriptedRandom classes({
        {1, 0}, {1, 1}, {5, 3}, {2, 2},  // special: group 3, 94 + 2 = '`'
        {1, 0}, {1, 1}, {4, 0}, {1, 1},  // brackets: group 0, 40 + 1 = ')'
        {1, 0}, {1, 1}, {63, 63},        // other ANSI: 192 + 63 = U+00FF
    });
    // clang-format on
    std::u16string password;
    ASSERT_EQ(GeneratePassword(classes, 3, 1, u"", some, password), Generated);
    EXPECT_EQ(password, u"`)\u00FF");
    EXPECT_TRUE(classes.done());

    // Three characters, the middle one outside the BMP: positions 1..3, not 1..4 units.
    // clang-format off
    ScriptedRandom custom({
        {1, 0}, {1, 1}, {2, 1},  // position 2
        {1, 1},                  // a pass that adds nothing
        {1, 0}, {1, 1}, {2, 2},  // position 3
    });
    // clang-format on
    ASSERT_EQ(GeneratePassword(custom, 2, 0, u"a\U0001F600b", kAll, password), Generated);
    EXPECT_EQ(password, u"\U0001F600b");
    EXPECT_TRUE(custom.done());
}

TEST(PasswordGenerator, NothingToDrawFromIsRefusedInsteadOfLoopingForEver) {
    ScriptedRandom never({});
    std::u16string password = u"old";
    EXPECT_EQ(GeneratePassword(never, 8, 1, u"", ClassFlags{}, password), NothingToDraw);
    EXPECT_EQ(password, u"");
    EXPECT_EQ(GeneratePassword(never, 8, 0, u"", kAll, password), NothingToDraw);
    EXPECT_FALSE(HasCustomCharacters(u"    "));
    EXPECT_TRUE(HasCustomCharacters(u" ab "));

    // Length 0 runs its one pass and gives an empty password in either mode.
    ScriptedRandom onePass({{1, 0}, {1, 1}});
    EXPECT_EQ(GeneratePassword(onePass, 0, 0, u"", kAll, password), Generated);
    EXPECT_EQ(password, u"");
    EXPECT_TRUE(onePass.done());
}

// Every member of a class, as listed in the window's class table.
std::set<char16_t> membersOf(int cls) {
    std::u16string members;
    auto range = [&members](char16_t from, char16_t to) {
        for (char16_t c = from; c <= to; ++c) {
            members.push_back(c);
        }
    };
    switch (cls) {
        case UpperCase:
            range(u'A', u'Z');
            break;
        case LowerCase:
            range(u'a', u'z');
            break;
        case Numbers:
            range(u'0', u'9');
            break;
        case MathSigns:
            members = u"*+-/=";
            break;
        case Spaces:
            members = u" ";
            break;
        case Special:
            members = u"!\"#$%&':;<=>?@\\^_`|~";
            break;
        case Brackets:
            members = u"()[]{}";
            break;
        default:
            range(0xC0, 0xFF);
            break;
    }
    return {members.begin(), members.end()};
}

TEST(PasswordGenerator, CryptoSourceCoversEveryClassMemberAndNothingElse) {
    CryptoRandom random;
    for (int cls = 0; cls < ClassCount; ++cls) {
        ClassFlags flags{};
        flags[static_cast<std::size_t>(cls)] = 1;
        std::set<char16_t> seen;
        std::size_t total = 0;
        for (int length = 0; total < 200'000; length = (length + 1) % (kMaxLength + 1)) {
            std::u16string password;
            ASSERT_EQ(GeneratePassword(random, length, 1, u"", flags, password), Generated);
            ASSERT_EQ(password.size(), static_cast<std::size_t>(length));
            seen.insert(password.begin(), password.end());
            total += password.size();
        }
        EXPECT_EQ(seen, membersOf(cls)) << "class " << cls;
    }

    // The custom set is taken as typed: two of its four positions are spaces.
    std::u16string password;
    std::size_t spaces = 0;
    for (int i = 0; i < 800; ++i) {
        ASSERT_EQ(GeneratePassword(random, 250, 0, u" ab ", kAll, password), Generated);
        ASSERT_EQ(password.size(), 250u);
        spaces += static_cast<std::size_t>(std::count(password.begin(), password.end(), u' '));
    }
    EXPECT_NEAR(static_cast<double>(spaces) / 200'000.0, 0.5, 0.01);

    // Every class on: a length is always exact.
    for (const int length : {1, 7, 8, 9, 255, 256}) {
        ASSERT_EQ(GeneratePassword(random, length, 1, u"", kAll, password), Generated);
        EXPECT_EQ(password.size(), static_cast<std::size_t>(length));
    }
}

TEST(PasswordGenerator, DrawsAreUnbiasedAndBetweenTheBoundsEitherWayRound) {
    CryptoRandom random;
    std::array<int, 3> counts{};
    for (int i = 0; i < 30'000; ++i) {
        const int value = RandomBetween(random, 12, 10);
        ASSERT_GE(value, 10);
        ASSERT_LE(value, 12);
        ++counts[static_cast<std::size_t>(value - 10)];
    }
    for (const int count : counts) {
        EXPECT_NEAR(count, 10'000, 500);
    }
}

TEST(PasswordGenerator, SeedIsTheCrcOfTheJoinedTextAsUtf16WithItsNul) {
    // Expected values from Python: zlib.crc32((text).encode('utf-16-le') + b'\0\0').
    EXPECT_EQ(MakeRandomSeed(SeedInputs{}), 0x772b253eu);  // text "000000"
    SeedInputs inputs{u"Clip", 123456, -5, 10, 20, 1920, 1080};
    EXPECT_EQ(MakeRandomSeed(inputs), 0xf436b373u);  // "Clip123456-510201920" "1080"
    // Only the first 128 clipboard characters count.
    SeedInputs longClip = inputs;
    longClip.clipboardText = std::u16string(128, u'x') + u"tail";
    SeedInputs cutClip = inputs;
    cutClip.clipboardText = std::u16string(128, u'x');
    EXPECT_EQ(MakeRandomSeed(longClip), MakeRandomSeed(cutClip));
    EXPECT_NE(MakeRandomSeed(longClip), MakeRandomSeed(inputs));
}

}  // namespace
}  // namespace vlt::dicebox
