// Launching plugins on their threads, refusing what cannot run, and the quit walk at exit.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <chrono>

#include "PluginFolder.h"
#include "ScriptedDesktop.h"
#include "engine/log/Logging.h"
#include "engine/vault/ID.h"
#include "host/PluginLaunchers.h"
#include "host/PluginList.h"

namespace vlt {
namespace {

using test::PluginFolder;

QDialog* waitingToolWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("waitingToolWindow") && w->isVisible()) {
            return qobject_cast<QDialog*>(w);
        }
    }
    return nullptr;
}

// Pumps events until cond holds or five seconds pass.
template <typename Cond>
bool pumpUntil(Cond cond) {
    QElapsedTimer clock;
    clock.start();
    while (!cond() && clock.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return cond();
}

class PluginLaunch : public ::testing::Test {
  protected:
    int load(const std::string& plugin) { return plugins.VLT_Plugin_Load(folder.add(plugin)); }

    PluginFolder folder;
    IdRegistry ids;
    TraceLog log;
    PluginList plugins{ids, log};
};

TEST_F(PluginLaunch, ToolRunsOnceAtATimeAndThreadsCountFromOne) {
    ASSERT_EQ(load("WaitingTool"), 1);
    ASSERT_EQ(VLT_Plugin_LaunchTool(plugins), 1);
    EXPECT_EQ(plugins.VLT_Plugin_GetThread(), 1);
    ASSERT_TRUE(pumpUntil([] { return waitingToolWindow() != nullptr; }));
    EXPECT_EQ(VLT_Plugin_LaunchTool(plugins), -3);

    waitingToolWindow()->reject();
    plugins.threads().waitFor(1);
    EXPECT_FALSE(plugins.threads().isRunning(1));
    ASSERT_EQ(VLT_Plugin_LaunchTool(plugins), 1);
    EXPECT_EQ(plugins.VLT_Plugin_GetThread(), 2);
    ASSERT_TRUE(pumpUntil([] { return waitingToolWindow() != nullptr; }));
    waitingToolWindow()->reject();
    plugins.threads().waitFor(2);
}

TEST_F(PluginLaunch, WrongTypeAndMissingEntryAreRefused) {
    ASSERT_EQ(load("NoEntryImporter"), 1);
    EXPECT_EQ(VLT_Plugin_LaunchTool(plugins), -4);
    EXPECT_EQ(VLT_Plugin_LaunchPreview(plugins, {1, 2}), -4);
    ASSERT_EQ(load("NoEntryTool"), 1);
    EXPECT_EQ(VLT_Plugin_LaunchTool(plugins), -2);
    EXPECT_EQ(plugins.VLT_Plugin_GetThread(), -1);
}

TEST_F(PluginLaunch, PasswordGeneratorIsTheToolOfThatExactName) {
    test::ScriptedDesktop desktop;
    LaunchPasswordGenerator(plugins, desktop);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, u"VLT could not find any tool plugins installed.");

    // An importer of that name comes first and is passed over; the tool after it is launched
    // (and has no entry export).
    ASSERT_EQ(load("NoEntryImporter"), 1);
    ASSERT_EQ(load("WaitingTool"), 1);
    ASSERT_EQ(load("NoEntryTool"), 1);
    plugins.VLT_Plugin_Select(1);
    LaunchPasswordGenerator(plugins, desktop);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[1].text,
              u"Could not find the 'Plugin_Start' function in the plugin, launch failed.");
    EXPECT_EQ(plugins.VLT_Plugin_GetCurrent(), 1);
    EXPECT_EQ(plugins.VLT_Plugin_GetThread(), -1);
}

TEST_F(PluginLaunch, PreviewerReadsItsOwnCopyOfTheContent) {
    const std::string path = folder.add("Previewer");
    ASSERT_EQ(plugins.VLT_Plugin_Load(path), 1);
    std::vector<std::uint8_t> content{'a', 0, 'z', 255};
    ASSERT_EQ(VLT_Plugin_LaunchPreview(plugins, content), 1);
    plugins.threads().waitFor(plugins.VLT_Plugin_GetThread());

    using Seen = std::int32_t (*)(const std::uint8_t**);
    auto seen = reinterpret_cast<Seen>(::dlsym(plugins.VLT_Plugin_GetHandle(), "Test_Seen"));
    ASSERT_NE(seen, nullptr);
    const std::uint8_t* data = nullptr;
    ASSERT_EQ(seen(&data), 4);
    EXPECT_EQ(std::vector<std::uint8_t>(data, data + 4), content);
}

TEST_F(PluginLaunch, QuitWalkWaitsOnlyForPluginsThatCanQuit) {
    ASSERT_EQ(load("Unsignalled"), 1);
    ASSERT_EQ(VLT_Plugin_LaunchTool(plugins), 1);
    const std::int32_t stubborn = plugins.VLT_Plugin_GetThread();
    ASSERT_EQ(load("WaitingTool"), 1);
    ASSERT_EQ(VLT_Plugin_LaunchTool(plugins), 1);
    const std::int32_t tool = plugins.VLT_Plugin_GetThread();
    ASSERT_TRUE(pumpUntil([] { return waitingToolWindow() != nullptr; }));

    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(plugins.VLT_Plugin_SendQuitSignal(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_FALSE(plugins.threads().isRunning(tool));
    EXPECT_EQ(waitingToolWindow(), nullptr);
    EXPECT_TRUE(plugins.threads().isRunning(stubborn));

    auto release =
        reinterpret_cast<void (*)()>(::dlsym(plugins.records()[0].Handle, "Test_Release"));
    ASSERT_NE(release, nullptr);
    release();
    plugins.threads().waitFor(stubborn);
}

}  // namespace
}  // namespace vlt
