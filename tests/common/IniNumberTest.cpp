#include <gtest/gtest.h>

#include <climits>

#include "common/IniNumber.h"

namespace vlt {
namespace {

TEST(IniNumber, ReadsDecimalHexAndBinaryLikeTheStoredFiles) {
    EXPECT_EQ(IniNumber(u"$1F"), 31);
    EXPECT_EQ(IniNumber(u"$ff"), 255);
    EXPECT_EQ(IniNumber(u"%101"), 5);
    EXPECT_EQ(IniNumber(u"%1021"), 2);
    EXPECT_EQ(IniNumber(u"12abc"), 12);
    EXPECT_EQ(IniNumber(u"-5"), -5);
    EXPECT_EQ(IniNumber(u"+5"), 5);
    EXPECT_EQ(IniNumber(u"  7"), 7);
    EXPECT_EQ(IniNumber(u"\t 8"), 8);
    EXPECT_EQ(IniNumber(u"-$10"), -16);
    EXPECT_EQ(IniNumber(u"16777215"), 16777215);
}

TEST(IniNumber, TextWithoutDigitsIsZero) {
    EXPECT_EQ(IniNumber(u""), 0);
    EXPECT_EQ(IniNumber(u"abc"), 0);
    EXPECT_EQ(IniNumber(u"-"), 0);
    EXPECT_EQ(IniNumber(u"$"), 0);
    EXPECT_EQ(IniNumber(u"%2"), 0);
    EXPECT_EQ(IniNumber(u"x12"), 0);
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
TEST(IniNumbers, OverflowSaturatesOrWraps) {
    EXPECT_EQ(IniNumber(u"4294967297"), 2147483647);
    EXPECT_EQ(IniNumber("4294967297", NumberOverflow::Wrap), 1);
    EXPECT_EQ(IniNumber(u"-$80000001"), -2147483647 - 1);
    EXPECT_EQ(IniNumber("-$80000001", NumberOverflow::Wrap), 2147483647);
    EXPECT_EQ(IniNumber(" \t%101x"), 5);
}

}  // namespace
}  // namespace vlt
