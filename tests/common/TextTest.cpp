#include <gtest/gtest.h>

#include <string>

#include "common/AsciiCase.h"
#include "common/Trim.h"
#include "common/Utf.h"
#include "common/Windows1252.h"

namespace vlt {
namespace {

TEST(Utf, RoundTripsEveryPlane) {
    std::u16string text = u"abc \u00e9\u20ac \U0001F511 \uFFFF";
    EXPECT_EQ(toUtf8(text), "abc \xc3\xa9\xe2\x82\xac \xf0\x9f\x94\x91 \xef\xbf\xbf");
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
}

TEST(Utf, BrokenSequencesBecomeReplacementCharacters) {
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xef\xbf\xbdx");
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xDC00))), "\xef\xbf\xbd");
    EXPECT_EQ(fromUtf8("\xff"
                       "a"),
              u"\uFFFDa");
    EXPECT_EQ(fromUtf8("\xc0\xaf"), u"\uFFFD\uFFFD");    // overlong '/'
    EXPECT_EQ(fromUtf8("\xe2\x82"), u"\uFFFD");          // cut short at the end
    EXPECT_EQ(fromUtf8("\xed\xa0\x80"), u"\uFFFD");      // encoded surrogate
    EXPECT_EQ(fromUtf8("\xf4\x90\x80\x80"), u"\uFFFD");  // past U+10FFFF
}

TEST(Windows1252, HighBytesMapToTheirCodePoints) {
    EXPECT_EQ(fromWindows1252("\x80\x9f\xa9\xff"
                              "a"),
              u"\u20AC\u0178\u00A9\u00FFa");
    EXPECT_EQ(fromWindows1252("\x81"), u"\u0081");
}

TEST(TextHelpers, TrimRemovesBlanksOnly) {
    EXPECT_EQ(trimBlanks(u"  a b  "), u"a b");
    EXPECT_EQ(trimBlanks(u"\ta\t"), u"\ta\t");
    EXPECT_EQ(trimBlanks(u"   "), u"");
}

TEST(TextHelpers, CaseFoldingTouchesAsciiOnly) {
    EXPECT_EQ(lowerAscii(u"AbC\u00C9"), u"abc\u00C9");
}

TEST(TextHelpers, TrimTakesUtf8AndTabsWhenAsked) {
    EXPECT_EQ(trimBlanks(std::string_view(" \t\xc3\xa9 \t"), Blanks::SpacesAndTabs), "\xc3\xa9");
    EXPECT_EQ(trimLeadingBlanks(u"\t a \t", Blanks::SpacesAndTabs), u"a \t");
    EXPECT_EQ(trimTrailingBlanks(u"\t a \t", Blanks::SpacesAndTabs), u"\t a");
}

}  // namespace
}  // namespace vlt
