// The built exporter libraries as the host loads and runs them: their identity, and an export
// driven through the window on the host's plugin thread.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>

#include "ExporterWindow.h"
#include "ScriptedDesktop.h"
#include "TempDir.h"
#include "engine/vault/Engine.h"
#include "host/PluginLaunchers.h"
#include "host/PluginList.h"

namespace vlt::test {
namespace {

class ExporterPlugin : public ::testing::Test {
  protected:
    // Loads a fresh copy of the built plugin, so each test has its own instance.
    void load(const std::string& name) {
        const std::string copy = dir.file(name + ".so");
        std::filesystem::copy_file(std::string(VLT_BUILT_PLUGIN_DIR) + "/" + name + ".so", copy);
        ASSERT_EQ(plugins.VLT_Plugin_Load(copy), 1) << name;
    }

    // Records every message box ("title/text") and hands it to `answer` (by default: Yes or
    // OK), and hands the exporter window to `drive` on every tick without a box over it, until
    // the exporter returns.
    void run(const std::function<void(QWidget*)>& drive,
             const std::function<void(QMessageBox*)>& answer = nullptr) {
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown.push_back((box->windowTitle() + "/" + box->text()).toStdString());
                if (answer) {
                    answer(box);
                    return;
                }
                box->button(box->standardButtons() & QMessageBox::Yes ? QMessageBox::Yes
                                                                      : QMessageBox::Ok)
                    ->click();
                return;
            }
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->objectName() == "exporterWindow" && w->isVisible()) {
                    drive(w);
                }
            }
        });
        driver.start(10);
        ASSERT_EQ(RunExporter(plugins, engine, [](bool) {}), 1);
    }

    TempDir dir;
    ScriptedDesktop desktop;
    Engine engine{desktop};
    PluginList plugins{engine.ids, engine.log};
    std::vector<std::string> shown;
};

TEST_F(ExporterPlugin, EachLibraryLoadsAsAnExporterWithItsIcon) {
    for (const char* file : {"Webleaf", "Keyleaf", "Plainleaf", "Commaleaf", "Rowleaf"}) {
        load(file);
        EXPECT_EQ(plugins.VLT_Plugin_GetType(), Exporter) << file;
        EXPECT_EQ(plugins.VLT_Plugin_GetDescription(), plugins.VLT_Plugin_GetName()) << file;
        EXPECT_EQ(plugins.records().back().IconImage.size(), QSize(16, 16)) << file;
    }
    EXPECT_EQ(plugins.VLT_Plugin_GetName(), u"VLT CSV Exporter");
    EXPECT_EQ(plugins.VLT_Plugin_GetVersion(), u"1.1");
}

TEST_F(ExporterPlugin, ExportsTheTickedGroupThroughTheWindowAndSaysSo) {
    Vault& v = engine.vault;
    v.Groups.append(Group{1, 1, u"Mail", 0});
    v.Groups.append(Group{2, 1, u"Bank", 3});
    const std::pair<std::int32_t, const char16_t*> entries[] = {
        {1, u"first mail"}, {2, u"bank"}, {1, u"second mail"}};
    std::int32_t id = 10;
    for (const auto& [group, account] : entries) {
        Entry e;
        e.ID = id++;
        e.GroupID = group;
        e.GroupName = group == 1 ? u"Mail" : u"Bank";
        e.Account = account;
        e.Password = std::u16string_view(u"pw \"1\"");
        v.Entries.append(std::move(e));
    }
    load("Rowleaf");
    const std::string path = dir.file("out.csv");
    int exports = 0;
    run([&](QWidget* window) {
        if (exports++ > 0) {
            window->findChild<QPushButton*>("close")->click();
            return;
        }
        window->findChild<QRadioButton*>("selectedGroups")->click();
        auto* groups = window->findChild<QTreeWidget*>();
        ASSERT_EQ(groups->topLevelItemCount(), 2);
        EXPECT_EQ(groups->topLevelItem(1)->text(0), "Bank");
        groups->topLevelItem(0)->setCheckState(0, Qt::Checked);
        window->findChild<QLineEdit*>("path")->setText(QString::fromStdString(path));
        window->findChild<QPushButton*>("export")->click();
    });
    EXPECT_EQ(shown, std::vector<std::string>{"OK/CSV data exported successfully."});
    EXPECT_EQ(readFile(path),
              "\"Group\",\"Account\",\"Login Name\",\"Password\",\"Comments\",\"Date\"\r\n"
              "\"Mail\",\"first mail\",\"\",\"pw \"\"1\"\"\",\"\",\"1970/01/01 00:00:00\"\r\n"
              "\"Mail\",\"second mail\",\"\",\"pw \"\"1\"\"\",\"\",\"1970/01/01 00:00:00\"\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(ExporterPlugin, AVaultWithoutEntriesGetsOnlyAMessage) {
    engine.vault.Groups.append(Group{1, 1, u"Empty", 0});
    load("Webleaf");
    run([](QWidget* window) {
        ADD_FAILURE() << "no window expected";
        window->close();
    });
    EXPECT_EQ(shown, std::vector<std::string>{"Information/There are no entries to export."});
}

TEST_F(ExporterPlugin, QuitSignalEndsTheExporterWithADialogOpenOverItsWindow) {
    Entry e;
    e.ID = 2;
    e.GroupID = 1;
    engine.vault.Groups.append(Group{1, 1, u"Mail", 0});
    engine.vault.Entries.append(std::move(e));
    load("Keyleaf");
    auto quit = reinterpret_cast<Plugin_QuitSignal_Fn>(
        ::dlsym(plugins.VLT_Plugin_GetHandle(), "Plugin_QuitSignal"));
    ASSERT_NE(quit, nullptr);
    // Export with no path: the window's own message opens over it, and stays unanswered.
    run(
        [](QWidget* window) {
            QMetaObject::invokeMethod(window->findChild<QPushButton*>("export"), "click",
                                      Qt::QueuedConnection);
        },
        [&quit](QMessageBox*) { quit(); });
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), "Information/Please choose an output file for the INI file");
    for (QWidget* w : QApplication::topLevelWidgets()) {
        EXPECT_NE(w->objectName(), "exporterWindow");
    }
}

TEST(ExporterWindow, BrowsedNamesGetTheExtensionUnlessTheyEndInIt) {
    const QString html = QStringLiteral(".html");
    EXPECT_EQ(plugin::BrowsedPath("/a/list.HTML", html), "/a/list.HTML");
    EXPECT_EQ(plugin::BrowsedPath("/a/list", html), "/a/list.html");
    EXPECT_EQ(plugin::BrowsedPath("/a/list.htm", html), "/a/list.htm.html");
    EXPECT_EQ(plugin::BrowsedPath("/a/l.html ", html), "/a/l.html .html");
    EXPECT_EQ(plugin::BrowsedPath("/a/list.Ini", ".ini"), "/a/list.Ini");
}

}  // namespace
}  // namespace vlt::test
