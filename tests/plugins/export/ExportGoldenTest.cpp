// Every writer's bytes on the fixture vault, in both modes, against the golden files; and the
// progress each walk reports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "CsvWriter.h"
#include "ExportFixture.h"
#include "HtmlWriter.h"
#include "IniWriter.h"
#include "KeePassCsvWriter.h"
#include "TextWriter.h"

namespace vlt::test {
namespace {

struct GoldenCase {
    const char* name;
    plugin::ExportWriter writer;
    const char* extension;
    // Records visited and the last position shown, whole and selected.
    std::size_t wholeSteps;
    int wholeLast;
    std::size_t selectedSteps;
    int selectedLast;
};

// Six entries in five groups; three groups ticked. The INI scan for a ticked group moves the bar
// for each group it passes over (1 + 3 + 4), the text listing walks every entry once per group.
const GoldenCase kCases[] = {
    {"webleaf", plugin::ExportHTML, "html", 6, 100, 18, 300},
    {"keyleaf", plugin::ExportINI, "ini", 11, 100, 14, 127},
    {"plainleaf", plugin::ExportTXT, "txt", 30, 500, 18, 300},
    {"commaleaf", plugin::ExportKeePassCSV, "csv", 6, 100, 18, 300},
    {"rowleaf", plugin::ExportCSV, "csv", 6, 100, 18, 300},
};

std::string goldenPath(const GoldenCase& c, const char* mode) {
    return std::string(VLT_EXPORT_GOLDEN) + "/" + c.name + "-" + mode + "." + c.extension;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void compareWithGolden(const GoldenCase& c, const char* mode, const std::string& bytes) {
    const std::string path = goldenPath(c, mode);
    if (std::getenv("VLT_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(path, std::ios::binary) << bytes;
        ADD_FAILURE() << "rewrote " << path << "; check it and run again without VLT_UPDATE_GOLDEN";
        return;
    }
    EXPECT_EQ(bytes, readBytes(path)) << path;
}

TEST(ExportGolden, EveryWriterInBothModesWritesItsGoldenFile) {
    for (const GoldenCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const WriterRun whole = RunWriter(c.writer, plugin::ExportScope{});
        compareWithGolden(c, "whole", whole.bytes);
        ASSERT_EQ(whole.progress.size(), c.wholeSteps);
        EXPECT_EQ(whole.progress.back(), c.wholeLast);

        const WriterRun selected = RunWriter(c.writer, SelectedScope());
        compareWithGolden(c, "selected", selected.bytes);
        ASSERT_EQ(selected.progress.size(), c.selectedSteps);
        EXPECT_EQ(selected.progress.back(), c.selectedLast);

        // Selected mode with nothing ticked keeps the fixed opening and closing parts only.
        const WriterRun none = RunWriter(c.writer, plugin::ExportScope{false, {}});
        EXPECT_LT(none.bytes.size(), selected.bytes.size());
        EXPECT_TRUE(none.progress.empty() || c.writer == plugin::ExportINI);
    }
}

TEST(ExportGolden, ProgressRoundsHalvesToEven) {
    std::vector<int> shown;
    plugin::Progress progress(8, [&shown](int p) { shown.push_back(p); });
    for (int i = 0; i < 9; ++i) {
        progress.step();
    }
    EXPECT_EQ(shown, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100, 112}));

    // Totals above and below 100 (a position is shown once), and none at all.
    const auto steps = [](std::int64_t total, int count) {
        std::vector<int> seen;
        plugin::Progress bar(total, [&seen](int p) { seen.push_back(p); });
        for (int i = 0; i < count; ++i) {
            bar.step();
        }
        return seen;
    };
    EXPECT_EQ(steps(200, 5), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(steps(3, 7), (std::vector<int>{33, 67, 100, 133, 167, 200, 233}));
    EXPECT_TRUE(steps(0, 3).empty());
}

TEST(ExportGolden, DatesAreWallClockTextWithoutTimeZone) {
    EXPECT_EQ(plugin::DateText(0), "1970/01/01 00:00:00");
    EXPECT_EQ(plugin::DateText(-1), "1969/12/31 23:59:59");
    EXPECT_EQ(plugin::DateText(2147483647), "2038/01/19 03:14:07");
    EXPECT_EQ(plugin::DateText(std::numeric_limits<std::int32_t>::min()), "1901/12/13 20:45:52");
    EXPECT_EQ(plugin::DateText(951782400), "2000/02/29 00:00:00");
    EXPECT_EQ(plugin::DateText(kNow), "2009/07/14 08:05:09");
}

}  // namespace
}  // namespace vlt::test
