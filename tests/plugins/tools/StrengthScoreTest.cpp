// The strength analyzer: scores worked out by hand from the scoring rules.
#include <gtest/gtest.h>

#include "StrengthScore.h"
#include "common/Trim.h"

namespace vlt::gaugebox {
namespace {

TEST(StrengthScore, HandWorkedScoresAndVerdicts) {
    struct Case {
        std::u16string_view text;
        int points;
        std::u16string_view verdict;
    };
    const Case cases[] = {
        // 20 - 4 x 5 repeats - 10 all letters - 10 all lower-case + 6.0
        {u"aaaaa", 0, u"The password is very weak (0 points)"},
        // 20 + 5 three digits - 10 all digits + 6.0
        {u"12345", 21, u"The password is weak (21 points)"},
        // core "helloworld": 40 - 5 ("ll" for each n) - 20 + 10.5 = 25.5, to the even 26
        {u"hello world", 26, u"The password is weak (26 points)"},
        // 40 - 5 ("ss") + 7 + 7 + 7 + 5 + 10.5 = 71.5, to the even 72
        {u"Password1!", 72, u"The password is strong (72 points)"},
        // 32 - 5 ("ss") + 7 upper and lower + 7 digit and letter + 9.0; '@' is of no kind
        {u"P@ssw0rd", 50, u"The password is reasonable (50 points)"},
        // 40 + 5 five symbols + 5 symbol and letter + 10.5 = 60.5, to the even 60
        {u"a!b#c$d%e&", 60, u"The password is reasonable (60 points)"},
        // 44 + 5 + 7 + 7 + 7 + 5 + 11.25 = 86.25
        {u"Tr0ub4dor&3", 86, u"The password is very strong (86 points)"},
        // 32 - 0 - 6 x 4 - 20 + 9.0 = -3, raised to 0
        {u"abababab", 0, u"The password is very weak (0 points)"},
        // 20 - 10 - 10 + 6.0
        {u"abcde", 6, u"The password is very weak (6 points)"},
        // 40 - 20 + 10.5 = 30.5, to the even 30
        {u"abcdefghij", 30, u"The password is weak (30 points)"},
    };
    for (const Case& c : cases) {
        const Strength s = AnalyzePassword(c.text);
        EXPECT_EQ(s.points, c.points) << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(s.bar, c.points);
        EXPECT_EQ(s.verdict, c.verdict);
    }
}

TEST(StrengthScore, ShortTextsOutsideKindsAndScoresOverAHundred) {
    // Trimmed first: four characters left.
    EXPECT_EQ(AnalyzePassword(trimBlanks(u"   abcd   ", Blanks::Spaces)).verdict,
              u"The password is too short");
    EXPECT_EQ(AnalyzePassword(trimBlanks(u"   abcd   ", Blanks::Spaces)).bar, 0);
    // Five with an inner space are scored on the core "abcd": 16 - 20 + 5.0 = 1.
    EXPECT_EQ(AnalyzePassword(u"ab cd").points, 1);
    // Accented letters and '@' are of no kind: no all-letter penalty, no bonus.
    // 20 + 6.0 = 26
    EXPECT_EQ(AnalyzePassword(u"\u00E9\u00E8@\u00E0\u00F9").points, 26);

    // 128 + 5 + 5 + 7 + 7 + 7 + 5 + 24.0 (2 + 7 + 9 + 6): a full bar, the real points.
    const Strength big = AnalyzePassword(u"Aa1!Bb2#Cc3$Dd4%Ee5&Ff6(Gg7)Hh8*");
    EXPECT_EQ(big.points, 188);
    EXPECT_EQ(big.bar, 100);
    EXPECT_EQ(big.verdict, u"The password is very strong (188 points)");
}

TEST(StrengthScore, RepeatCountsAndPositionWeights) {
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(CountRepeats(u"aaaaa", n), 4) << n;
        EXPECT_EQ(CountRepeats(u"abababab", n), n == 1 ? 0 : 6) << n;
        EXPECT_EQ(CountRepeats(u"abcdef", n), 0) << n;
    }
    EXPECT_FLOAT_EQ(PositionBonus(u"a"), 2.0F);
    EXPECT_FLOAT_EQ(PositionBonus(std::u16string(8, u'a')), 9.0F);
    EXPECT_FLOAT_EQ(PositionBonus(std::u16string(20, u'a')), 18.0F);
    EXPECT_FLOAT_EQ(PositionBonus(std::u16string(23, u'a')), 19.5F);
    EXPECT_EQ(CountSymbols(u"!/0 :@"), 2);
    EXPECT_EQ(CountLetters(u"aZ\u00C9"), 2);
}

}  // namespace
}  // namespace vlt::gaugebox
