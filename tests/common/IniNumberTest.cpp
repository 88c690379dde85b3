#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "common/IniNumber.h"

namespace vlt {
namespace {

// Text without digits reads as 0.
TEST(IniNumber, ReadsDecimalHexAndBinaryLikeTheStoredFiles) {
    const std::pair<std::u16string_view, std::int32_t> cases[] = {
        {u"$1F", 31},
        {u"$ff", 255},
        {u"%101", 5},
        {u"%1021", 2},
        {u"12abc", 12},
        {u"-5", -5},
        {u"+5", 5},
        {u"  7", 7},
        {u"\t 8", 8},
        {u"-$10", -16},
        {u"16777215", 16777215},
        {u"", 0},
        {u"abc", 0},
        {u"-", 0},
        {u"$", 0},
        {u"%2", 0},
        {u"x12", 0},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(IniNumber(text), value) << std::string(text.begin(), text.end());
        // The same digits as UTF-8, as the keyboard layouts hold them.
        EXPECT_EQ(IniNumber(std::string(text.begin(), text.end()), NumberOverflow::Wrap), value);
    }
}

TEST(IniNumber, ValuesBeyondTheRangeSaturate) {
    EXPECT_EQ(IniNumber(u"2147483647"), INT32_MAX);
    EXPECT_EQ(IniNumber(u"2147483648"), INT32_MAX);
    EXPECT_EQ(IniNumber(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(IniNumber(u"-2147483649"), INT32_MIN);
    EXPECT_EQ(IniNumber(u"99999999999999999999999999999"), INT32_MAX);
    EXPECT_EQ(IniNumber(u"$FFFFFFFFFFFFFFFFFFFF"), INT32_MAX);
    EXPECT_EQ(IniNumber(u"-%11111111111111111111111111111111111111"), INT32_MIN);
}

// The settings and the keyboard layouts read the same digits; past 32 bits one saturates and the
// other keeps the low bits.
TEST(IniNumber, BeyondTheRangeTheLayoutsWrap) {
    EXPECT_EQ(IniNumber(u"4294967297"), 2147483647);
    EXPECT_EQ(IniNumber("4294967297", NumberOverflow::Wrap), 1);
    EXPECT_EQ(IniNumber(u"-$80000001"), -2147483647 - 1);
    EXPECT_EQ(IniNumber("-$80000001", NumberOverflow::Wrap), 2147483647);
}

}  // namespace
}  // namespace vlt
