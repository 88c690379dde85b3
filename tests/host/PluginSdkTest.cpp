// What the SDK gives every plugin: the header band's colours and the crash report, also when
// several plugins are loaded.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "ChildProcess.h"
#include "HeaderBand.h"
#include "PluginABI.h"
#include "PluginFolder.h"
#include "engine/log/Logging.h"
#include "engine/vault/ID.h"
#include "host/PluginLaunchers.h"
#include "host/PluginList.h"

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

constexpr const char* kCrasherReport =
    "Plugin error\r\n"
    "The following error has been encountered:\r\n"
    "Plugin name: Text preview\r\n"
    "Error file: unknown\r\n"
    "Error line: 0\r\n"
    "Error message: Invalid memory access\r\n";

// Runs body in a child whose stderr goes to the folder's "stderr.txt".
int runReportingTo(const test::PluginFolder& folder, const std::function<int()>& body) {
    const std::string report = folder.file("stderr.txt");
    return test::runInChild([&] {
        const int fd = ::open(report.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDERR_FILENO);
        return body();
    });
}

TEST(PluginSdk, CrashInsideAPluginIsReportedUnderItsName) {
    test::PluginFolder folder;
    const std::string plugin = folder.add("Crasher");
    const int status = runReportingTo(folder, [&] {
        void* handle = ::dlopen(plugin.c_str(), RTLD_NOW | RTLD_LOCAL);
        auto start = reinterpret_cast<Plugin_Start_Fn>(::dlsym(handle, "Plugin_Start"));
        return start != nullptr ? start() : 99;
    });
    EXPECT_EQ(status, 128 + SIGSEGV);
    EXPECT_EQ(test::readFile(folder.file("stderr.txt")), kCrasherReport);
}

// Each plugin installs its handler for the whole process as it is loaded; a plugin loaded after
// the one that faults must not take the blame, nor any plugin for a fault on another thread.
TEST(PluginSdk, CrashOnAPluginThreadIsReportedUnderThatPluginsName) {
    test::PluginFolder folder;
    folder.add("Crasher", "a_crasher.so");
    folder.add("WaitingTool", "b_waiting.so");
    const auto crashWithPluginsLoaded = [&](bool onPluginThread) {
        return runReportingTo(folder, [&] {
            IdRegistry ids;
            TraceLog log;
            PluginList plugins(ids, log);
            plugins.VLT_Plugin_LoadFolder(folder.path());
            if (!onPluginThread) {
                return ::raise(SIGSEGV);
            }
            plugins.VLT_Plugin_Select(0);
            if (plugins.VLT_Plugin_GetName() != u"Text preview" ||
                VLT_Plugin_LaunchTool(plugins) != 1) {
                return 98;
            }
            std::this_thread::sleep_for(std::chrono::seconds(20));
            return 99;
        });
    };
    EXPECT_EQ(crashWithPluginsLoaded(true), 128 + SIGSEGV);
    EXPECT_EQ(test::readFile(folder.file("stderr.txt")), kCrasherReport);
    EXPECT_NE(crashWithPluginsLoaded(false), 0);
    EXPECT_EQ(test::readFile(folder.file("stderr.txt")).find("Plugin error"), std::string::npos);
}

}  // namespace
}  // namespace vlt
