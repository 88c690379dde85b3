// Running plugins from the main window: an importer from the main menu (the question, the
// closing of the open vault and what the window shows afterwards), and a tool from the plugin
// manager.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>
#include <filesystem>

#include "ShellFixture.h"
#include "Widgets.h"
#include "engine/container/Container.h"
#include "host/PluginLaunchers.h"
#include "host/PluginList.h"
#include "qt/PumpUntil.h"
#include "shell/app/QtDesktop.h"
#include "shell/app/QtText.h"
#include "shell/main/EntryListModel.h"

namespace vlt::test {
namespace {

class PluginFlow : public ShellFixture {
  protected:
    // A test plugin in the folder the program loads its plugins from.
    void installPlugin(const std::string& name) {
        const std::filesystem::path plugins = home.file("bin/Plugins");
        std::filesystem::create_directories(plugins);
        std::filesystem::copy_file(VLT_TEST_PLUGIN_DIR "/" + name + ".so",
                                   plugins / (name + ".so"));
        writeConfig("");
    }
    // The probe importer, installed.
    void installImporter() { installPlugin("ProbeImporter"); }
    // Starts VLT with the probe importer installed and the sample container open.
    void startWithSampleOpen() {
        installImporter();
        const std::string container = sampleContainer();
        passwords.push_back("abc");
        startWith({QString::fromStdString(container)});
        ASSERT_FALSE(app->engine().ContainerPath.empty());
    }
    QAction* importItem() {
        auto* menu = app->window().menuBar()->findChild<QMenu*>(QStringLiteral("menuImport"));
        EXPECT_NE(menu, nullptr);
        return menu != nullptr && !menu->actions().isEmpty() ? menu->actions().front() : nullptr;
    }
    QStringList treeTexts() {
        QStringList texts;
        QTreeWidget* tree = app->window().groupTree();
        for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
            texts << (*it)->text(0);
        }
        return texts;
    }
};

const QString kQuestion = QStringLiteral(
    "You already seem to have some items/groups in the list. In order to import a file, the old "
    "one will be closed and any unsaved changes will be lost. Would you like to continue?");

TEST_F(PluginFlow, NoKeepsTheOpenVaultAndYesReplacesItWithWhatWasImported) {
    startWithSampleOpen();
    Engine& engine = app->engine();
    QAction* item = importItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Probe importer"));
    const std::u16string path = engine.ContainerPath;
    const int groups = engine.vault.Groups.count();
    const QStringList shownBefore = treeTexts();

    prompter.answers = {false};
    item->trigger();
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(prompter.prompts[0].text, kQuestion);
    EXPECT_TRUE(prompter.prompts[0].question);
    EXPECT_EQ(engine.ContainerPath, path);
    EXPECT_EQ(engine.vault.Groups.count(), groups);
    EXPECT_EQ(treeTexts(), shownBefore);
    EXPECT_EQ(passwordModes.size(), 1u);  // the importer did not run

    prompter.answers = {true};
    passwords.push_back("");  // the importer's password request, cancelled
    item->trigger();
    ASSERT_EQ(prompter.prompts.size(), 2u);  // closed without a second question
    EXPECT_EQ(prompter.prompts[1].text, kQuestion);
    EXPECT_TRUE(engine.ContainerPath.empty());
    EXPECT_EQ(app->window().windowTitle(), qs(NoContainerTitle()));
    ASSERT_EQ(engine.vault.Groups.count(), 4);
    ASSERT_EQ(engine.vault.Entries.count(), 7);  // nothing of the old vault is left
    EXPECT_EQ(engine.vault.Groups.at(0).Name, u"Mail");

    // The tree shows the imported groups, the first selected; the list shows its entries.
    EXPECT_EQ(treeTexts(), (QStringList{QStringLiteral("New container"), QStringLiteral("Mail"),
                                        QStringLiteral("Deep"), QStringLiteral("Twin"),
                                        QStringLiteral("Lost")}));
    EXPECT_EQ(app->window().selectedGroupItem(), 1);
    EntryListModel* list = app->window().entryModel();
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->data(list->index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("Inbox"));
    // The entries imported under no group are listed under the group made for them.
    QTreeWidget* tree = app->window().groupTree();
    tree->setCurrentItem(tree->topLevelItem(0)->child(2));
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("Lost"));
    EXPECT_EQ(list->rowCount(), 2);
    EXPECT_TRUE(app->window().isEnabled());
}

TEST_F(PluginFlow, WithNothingOpenTheImportAsksNothingAndDropsTheCommandsGivenMeanwhile) {
    installImporter();
    startWith();
    QAction* item = importItem();
    ASSERT_NE(item, nullptr);
    passwords.push_back("");
    // Ctrl+N pressed while the importer asks for its password would ask about the imported vault.
    auto& askPassword = app->desktop().requesters().password;
    askPassword = [this, ask = askPassword](QWidget* parent, PasswordMode mode) {
        app->window().dispatch(Command::NewContainer);
        return ask(parent, mode);
    };
    item->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompter.prompts.empty());
    EXPECT_EQ(app->engine().vault.Groups.count(), 4);
    EXPECT_EQ(app->window().entryModel()->rowCount(), 2);  // "Inbox" and the nameless stray
}

// The plugin manager blocks only the main window: a tool launched from it is usable at once, and
// takes the keys it is given (Escape closes it) while the manager is still open.
TEST_F(PluginFlow, AToolLaunchedFromThePluginManagerIsUsableAtOnce) {
    installPlugin("WaitingTool");
    startWith();
    auto toolWindow = []() -> QDialog* {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "waitingToolWindow" && window->isVisible()) {
                return qobject_cast<QDialog*>(window);
            }
        }
        return nullptr;
    };
    bool closedByItsKey = false;
    QTimer::singleShot(0, [&] {
        QWidget* manager = QApplication::activeModalWidget();
        ASSERT_NE(manager, nullptr);
        auto* list = child<QTreeWidget>(manager, "pluginList");
        list->setCurrentItem(list->topLevelItem(0));
        child<QPushButton>(manager, "launchButton")->click();
        ASSERT_TRUE(pumpUntil([&] { return toolWindow() != nullptr; }));
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(toolWindow()->windowHandle(), &escape);
        closedByItsKey = pumpUntil([&] { return toolWindow() == nullptr; }, 1000);
        if (QDialog* left = toolWindow()) {
            left->reject();
        }
        manager->close();
    });
    app->window().dispatch(Command::PluginManager);
    EXPECT_TRUE(closedByItsKey);
}

// File > Exit with a tool that takes no notice of the quit signal: the exit question and the
// saves come first; then VLT says which plugin does not end, waits again on Yes, and on No ends
// at once around the plugin's running thread.
TEST_F(PluginFlow, ExitAsksAboutAToolThatIgnoresTheQuitSignalAndMayEndAroundIt) {
    installPlugin("QuitIgnored");
    writeConfig("[MainSettings]\r\nAutosave = 1\r\n");
    const std::string container = sampleContainer();
    passwords.push_back("abc");
    startWith({QString::fromStdString(container)});
    PluginList& plugins = app->plugins();
    plugins.quitWait.patience = std::chrono::milliseconds(50);
    plugins.VLT_Plugin_Select(0);
    ASSERT_EQ(VLT_Plugin_LaunchTool(plugins), 1);

    const std::string savedBefore = readFile(container);
    const std::string settingsBefore = readFile(configPath());
    std::vector<bool> writtenAtQuestion;
    prompter.onPrompt = [&](const Prompt& prompt) {
        if (prompt.text.startsWith(QStringLiteral("The plugin"))) {
            writtenAtQuestion.push_back(readFile(container) != savedBefore &&
                                        readFile(configPath()) != settingsBefore);
        }
    };
    const QString question = QStringLiteral(
        "The plugin \"Deaf tool\" has not ended after the quit signal. Would you like to keep "
        "waiting for it? Choose No to end VLT anyway.");
    prompter.answers = {true, true, false};
    app->window().dispatch(Command{10});
    EXPECT_EQ(promptTexts(),
              (QStringList{QStringLiteral("Would you like to exit VLT?"), question, question}));
    EXPECT_EQ(writtenAtQuestion, (std::vector<bool>{true, true}));
    EXPECT_EQ(endedAtOnce, std::vector<int>{0});
    EXPECT_TRUE(endCodes.empty());

    auto release =
        reinterpret_cast<void (*)()>(::dlsym(plugins.records()[0].Handle, "Test_Release"));
    ASSERT_NE(release, nullptr);
    release();
    plugins.threads().waitFor(plugins.records()[0].Thread);
}

}  // namespace
}  // namespace vlt::test
