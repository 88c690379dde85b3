// Running an importer from the main menu: the question, the closing of the open vault and what
// the window shows afterwards.
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QTreeWidget>
#include <filesystem>

#include "ShellFixture.h"
#include "engine/container/Container.h"
#include "shell/app/QtDesktop.h"
#include "shell/app/QtText.h"
#include "shell/main/EntryListModel.h"

namespace vlt::test {
namespace {

class ImportFlow : public ShellFixture {
  protected:
    // The probe importer in the folder the program loads its plugins from.
    void installImporter() {
        const std::filesystem::path plugins = home.file("bin/Plugins");
        std::filesystem::create_directories(plugins);
        std::filesystem::copy_file(VLT_TEST_PLUGIN_DIR "/ProbeImporter.so",
                                   plugins / "ProbeImporter.so");
        writeConfig("");
    }
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

TEST_F(ImportFlow, NoKeepsTheOpenVaultAndYesReplacesItWithWhatWasImported) {
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

TEST_F(ImportFlow, WithNothingOpenTheImportAsksNothingAndDropsTheCommandsGivenMeanwhile) {
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

}  // namespace
}  // namespace vlt::test
