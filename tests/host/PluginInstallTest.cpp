// Installing and removing plugins at run time: what is refused, what the folder holds after,
// and that a running plugin is stopped before its library goes.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <filesystem>

#include "Fifo.h"
#include "PluginFolder.h"
#include "ScriptedDesktop.h"
#include "common/Utf.h"
#include "engine/log/Logging.h"
#include "engine/vault/ID.h"
#include "host/PluginInstall.h"
#include "host/PluginLaunchers.h"
#include "host/PluginList.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;
using test::PluginFolder;

class PluginInstall : public ::testing::Test {
  protected:
    // Installs the file at `path` and returns the last message shown ("" for none).
    std::u16string install(const std::string& path, int expected = 1) {
        desktop.openFileAnswers.push_back(fromUtf8(path));
        const std::size_t before = desktop.messages.size();
        EXPECT_EQ(VLT_Plugin_Install(plugins, desktop, installed.path(), [this] { ++changes; }),
                  expected);
        return desktop.messages.size() > before ? desktop.messages.back().text : u"";
    }
    bool loaded(const std::string& path) {
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (handle != nullptr) {
            ::dlclose(handle);
        }
        return handle != nullptr;
    }

    PluginFolder offered;    // where the user picks files from
    PluginFolder installed;  // the program's plugin folder
    test::ScriptedDesktop desktop;
    IdRegistry ids;
    TraceLog log;
    PluginList plugins{ids, log};
    int changes = 0;
};

TEST_F(PluginInstall, RefusesWhatIsNoPluginAndInstallsWhatIs) {
    test::writeFile(offered.file("empty.so"), "");
    EXPECT_EQ(install(offered.file("empty.so"), 0),
              u"The file size is smaller or equal to 0. Installation aborted.");
    test::writeFile(offered.file("text.so"), "not a library");
    EXPECT_EQ(install(offered.file("text.so")),
              u"The file you have chosen is not a valid DLL. Installation aborted.");
    EXPECT_EQ(install(offered.add("SignatureLower")),
              u"The file you have chosen is not a valid VLT plugin. Installation aborted.");
    EXPECT_EQ(changes, 0);

    EXPECT_EQ(install(offered.add("WaitingTool")), u"Plugin installation completed successfully.");
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(plugins.records().size(), 1u);
    EXPECT_EQ(plugins.records()[0].Path, installed.file("WaitingTool.so"));
    EXPECT_TRUE(loaded(installed.file("WaitingTool.so")));
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(installed.path()), fs::directory_iterator()), 1);
    // The very same library again would share the loaded one's handle.
    EXPECT_EQ(install(offered.file("WaitingTool.so"), 0),
              u"The plugin you have chosen is already installed. Installation aborted.");
    EXPECT_EQ(plugins.records().size(), 1u);
}

// Reading a FIFO would block for good: one chosen for installing is refused before it is read,
// and a loaded plugin's file replaced by one is left out of the same-content check.
TEST_F(PluginInstall, FifosAreNeitherCopiedNorDigested) {
    test::Fifo chosen(offered.file("pipe.so"));
    EXPECT_EQ(install(chosen.path(), 0),
              u"The file size is smaller or equal to 0. Installation aborted.");
    ASSERT_EQ(plugins.VLT_Plugin_Load(installed.add("WaitingTool")), 1);
    fs::remove(installed.file("WaitingTool.so"));
    test::Fifo replaced(installed.file("WaitingTool.so"));
    EXPECT_EQ(install(offered.add("SignatureOnly")),
              u"Plugin installation completed successfully.");
    EXPECT_EQ(plugins.records().size(), 2u);
    EXPECT_FALSE(chosen.blocked());
    EXPECT_FALSE(replaced.blocked());
}

TEST_F(PluginInstall, RemovingARunningToolStopsItFirstAndKeepsABackup) {
    ASSERT_EQ(plugins.VLT_Plugin_Load(installed.add("WaitingTool")), 1);
    const std::string path = plugins.records()[0].Path;
    const std::int32_t id = plugins.records()[0].ID;
    ASSERT_EQ(VLT_Plugin_LaunchTool(plugins), 1);
    const std::int32_t thread = plugins.VLT_Plugin_GetThread();

    desktop.yesNoAnswers.push_back(true);
    VLT_Plugin_Remove(plugins, desktop, id, [this] { ++changes; });
    EXPECT_FALSE(plugins.threads().isRunning(thread));
    EXPECT_EQ(desktop.messages.back().text, u"The plugin was successfully removed.");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(plugins.records().empty());
    EXPECT_FALSE(loaded(path));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::exists(path + ".bak"));
    EXPECT_EQ(ids.ID_Exists(id), 0);
}

TEST_F(PluginInstall, ARunningPluginThatCannotQuitStaysLoaded) {
    ASSERT_EQ(plugins.VLT_Plugin_Load(installed.add("Unsignalled")), 1);
    ASSERT_EQ(VLT_Plugin_LaunchTool(plugins), 1);
    const std::string path = plugins.records()[0].Path;

    desktop.yesNoAnswers.push_back(true);
    VLT_Plugin_Remove(plugins, desktop, plugins.records()[0].ID, [this] { ++changes; });
    // Why it stays: nothing can make it quit, so the user must close it.
    EXPECT_EQ(desktop.messages.back().text,
              u"The plugin is running and cannot be asked to quit. Close it first.");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(plugins.records().size(), 1u);
    EXPECT_TRUE(loaded(path));
    EXPECT_TRUE(fs::exists(path));

    auto release =
        reinterpret_cast<void (*)()>(::dlsym(plugins.records()[0].Handle, "Test_Release"));
    release();
    plugins.threads().waitFor(plugins.VLT_Plugin_GetThread());
}

TEST_F(PluginInstall, RemovingWithoutASelectionOrAnsweringNoChangesNothing) {
    ASSERT_EQ(plugins.VLT_Plugin_Load(installed.add("SignatureOnly")), 1);
    VLT_Plugin_Remove(plugins, desktop, 0, [this] { ++changes; });
    EXPECT_EQ(desktop.messages.back().text, u"Please select a plugin from the list first.");
    desktop.yesNoAnswers.push_back(false);
    VLT_Plugin_Remove(plugins, desktop, plugins.records()[0].ID, [this] { ++changes; });
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(plugins.records().size(), 1u);
}

}  // namespace
}  // namespace vlt
