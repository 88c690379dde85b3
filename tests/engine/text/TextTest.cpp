#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>

#include "engine/text/DateText.h"
#include "engine/text/Misc.h"
#include "engine/text/Text.h"

namespace vlt {
namespace {

TEST(TextHelpers, SuffixesMatchIgnoringAsciiCase) {
    EXPECT_TRUE(endsWithIgnoreCase(u"main.VLT", u".vlt"));
    EXPECT_FALSE(endsWithIgnoreCase(u"vlt", u".vlt"));
}

TEST(TextHelpers, PathParts) {
    EXPECT_EQ(fileNamePart(u"/home/a/main.vlt"), u"main.vlt");
    EXPECT_EQ(fileNamePart(u"C:\\Safe\\main.vlt"), u"main.vlt");
    EXPECT_EQ(folderPart(u"/home/a/main.vlt"), u"/home/a/");
    EXPECT_EQ(folderPart(u"main.vlt"), u"");
    EXPECT_EQ(extensionPart(u"/x.y/a.vlt.vlt"), u"vlt");
    EXPECT_EQ(extensionPart(u"/x.y/noext"), u"");
    EXPECT_EQ(hexText(0x588E39D1u), u"588E39D1");
    EXPECT_EQ(hexText(0), u"0");
    EXPECT_EQ(decimal(-12), u"-12");
}

TEST(Dates, MasksFormatTheLocalWallClockAsStored) {
    const std::int32_t date = 1796722130;  // 2026-12-08 09:28:50
    EXPECT_EQ(FormatDate(u"%mm/%dd/%yyyy %hh:%ii:%ss", date), u"12/08/2026 09:28:50");
    EXPECT_EQ(FormatDate(u"%dd/%mm/%yy", date), u"08/12/26");
    EXPECT_EQ(FormatDate(u"%mm%dd%yy_%hh%ii%ss_backup", date), u"120826_092850_backup");
    EXPECT_EQ(FormatDate(u"%mm/%dd/%yyyy", -86400), u"12/31/1969");
    EXPECT_EQ(FormatDate(u"100% sure", 0), u"100% sure");
}

TEST(Dates, ArithmeticSaturatesInsteadOfWrapping) {
    EXPECT_EQ(AddSeconds(2147483000, 365LL * 86400), 2147483647);
    EXPECT_EQ(AddSeconds(-2147483000, -365LL * 86400), -2147483647 - 1);
    EXPECT_EQ(AddSeconds(10, 5), 15);
}

// "Now" is the UTC clock moved by the zone's offset, east of Greenwich forward: pinned zones
// without daylight saving give the exact shift, whatever the machine's own zone is.
TEST(Dates, NowIsTheUtcClockShiftedByTheLocalOffset) {
    const char* saved = std::getenv("TZ");
    const std::string savedZone = saved != nullptr ? saved : "";
    for (const auto& [zone, offset] :
         {std::pair{"UTC0", 0}, std::pair{"XYZ-5:30", 19800}, std::pair{"XYZ+8", -28800}}) {
        SCOPED_TRACE(zone);
        ::setenv("TZ", zone, 1);
        ::tzset();
        const auto before = static_cast<std::int64_t>(std::time(nullptr));
        const std::int64_t now = LocalNow();
        const auto after = static_cast<std::int64_t>(std::time(nullptr));
        EXPECT_GE(now - offset, before);
        EXPECT_LE(now - offset, after);
    }
    if (saved != nullptr) {
        ::setenv("TZ", savedZone.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}

TEST(Misc, MaskTextHasOneStarPerCharacter) {
    EXPECT_EQ(MaskText(u""), u"");
    EXPECT_EQ(MaskText(u"abc"), u"***");
}

TEST(Misc, ByteSizesPickTheLargestFittingUnit) {
    EXPECT_EQ(FormatByteSize(0, 2), u"");
    EXPECT_EQ(FormatByteSize(512, 2), u"512 B");
    EXPECT_EQ(FormatByteSize(1023, 2), u"1023 B");
    EXPECT_EQ(FormatByteSize(1024, 2), u"1.00 KB");
    EXPECT_EQ(FormatByteSize(1536, 2), u"1.50 KB");
    EXPECT_EQ(FormatByteSize(5LL * 1024 * 1024 * 1024, 1), u"5.0 GB");
    EXPECT_EQ(FormatByteSize(1024 * 1024, 0), u"1 MB");
}

TEST(Misc, EnvironmentReferencesExpand) {
    ::setenv("VLT_TEST_HOME", "/home/u", 1);
    ::unsetenv("VLT_TEST_MISSING");
    EXPECT_EQ(ExpandEnvironment(u"%VLT_TEST_HOME%/a"), u"/home/u/a");
    EXPECT_EQ(ExpandEnvironment(u"/mnt/$VLT_TEST_HOME/${VLT_TEST_HOME}"),
              u"/mnt/$VLT_TEST_HOME/${VLT_TEST_HOME}");
    EXPECT_EQ(ExpandEnvironment(u"%VLT_TEST_MISSING%/50% %%"), u"%VLT_TEST_MISSING%/50% %%");
    EXPECT_EQ(ExpandEnvironment(u"%VLT_TEST_HOME%%VLT_TEST_HOME%"), u"/home/u/home/u");
}

TEST(Misc, ColoursAreStoredBlueGreenRed) {
    EXPECT_EQ(colorFromRgb(0x12, 0x34, 0x56), 0x563412);
    Rgb c = rgbFromColor(0x563412);
    EXPECT_EQ(c.r, 0x12);
    EXPECT_EQ(c.b, 0x56);
    EXPECT_EQ(colorFromRgb(255, 255, 255), 16777215);
}

TEST(Misc, GradientRowsRunFromTheFirstColourTowardTheSecond) {
    auto rows = GradientSteps({65, 140, 235}, {25, 75, 185}, 40);
    ASSERT_EQ(rows.size(), 40u);
    EXPECT_EQ(rows[0].r, 65);
    EXPECT_EQ(rows[0].b, 235);
    EXPECT_EQ(rows[20].r, 45);   // halfway
    EXPECT_EQ(rows[20].g, 108);  // 140 - 32.5, rounded away from zero
    EXPECT_EQ(rows[39].r, 26);   // 65 - 39 * 40 / 40
    EXPECT_TRUE(GradientSteps({0, 0, 0}, {1, 1, 1}, 0).empty());
}

}  // namespace
}  // namespace vlt
