// What the SDK gives every plugin: the header band's colours and the crash report.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "ChildProcess.h"
#include "HeaderBand.h"
#include "PluginABI.h"
#include "PluginFolder.h"

namespace vlt {
namespace {

constexpr std::uint32_t rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r | (g << 8) | (b << 16));
}

TEST(PluginSdk, GradientStopsOneStepShortOfTheEndColour) {
    const QImage rows = CreateGradientImage(355, 40, rgb(165, 230, 65), rgb(100, 180, 30), 1);
    ASSERT_EQ(rows.size(), QSize(355, 40));
    EXPECT_EQ(rows.pixelColor(0, 0), QColor(165, 230, 65));
    EXPECT_EQ(rows.pixelColor(354, 0), QColor(165, 230, 65));
    EXPECT_EQ(rows.pixelColor(200, 39), QColor(102, 181, 31));
    // 0.5 steps round to the even neighbour: 10 - 1 * 0.5 = 9.5 -> 10, 10 - 3 * 0.5 = 8.5 -> 8.
    const QImage columns = CreateGradientImage(4, 2, rgb(10, 10, 10), rgb(8, 8, 8), 0);
    EXPECT_EQ(columns.pixelColor(1, 1), QColor(10, 10, 10));
    EXPECT_EQ(columns.pixelColor(3, 0), QColor(8, 8, 8));
    EXPECT_TRUE(CreateGradientImage(0, 40, 0, 0, 1).isNull());
}

TEST(PluginSdk, CrashInsideAPluginIsReportedUnderItsName) {
    test::PluginFolder folder;
    const std::string plugin = folder.add("Crasher");
    const std::string report = folder.file("stderr.txt");
    const int status = test::runInChild([&] {
        const int fd = ::open(report.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDERR_FILENO);
        void* handle = ::dlopen(plugin.c_str(), RTLD_NOW | RTLD_LOCAL);
        auto start = reinterpret_cast<Plugin_Start_Fn>(::dlsym(handle, "Plugin_Start"));
        return start != nullptr ? start() : 99;
    });
    EXPECT_EQ(status, 128 + SIGSEGV);
    EXPECT_EQ(test::readFile(report),
              "Plugin error\r\n"
              "The following error has been encountered:\r\n"
              "Plugin name: Text preview\r\n"
              "Error file: unknown\r\n"
              "Error line: 0\r\n"
              "Error message: Invalid memory access\r\n");
}

}  // namespace
}  // namespace vlt
