// Containers through the main window: saving under a name, new, open, recent and dropped
// files, the password change, and what group commands build saving and reopening whole.
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>

#include "MainWindowFlow.h"
#include "common/Utf.h"
#include "shell/commands/MainMenu.h"
#include "shell/dialogs/GroupWindow.h"

namespace vlt {
namespace {

using test::MainWindowFlow;

TEST_F(MainWindowFlow, SaveAsWritesAContainerThatReopensAndNewAsksAndClears) {
    MainWindow& window = openSample();
    passwords.push_back("n3w");
    saveFiles.push_back(QString::fromStdString(home.file("copy")));
    window.dispatch(Command{3});
    ASSERT_TRUE(std::filesystem::exists(home.file("copy.vlt")));
    EXPECT_EQ(window.windowTitle(), "Orvelline Vaultwick v4.1 - copy.vlt");

    prompter.answers.push_back(false);
    window.dispatch(Command{0});
    EXPECT_EQ(app->engine().vault.Groups.count(), 4);
    prompter.answers.push_back(true);
    window.dispatch(Command{0});
    EXPECT_EQ(prompter.prompts.back().text,
              "Would you like to create a new container? Any unsaved entries will be lost!");
    EXPECT_TRUE(app->engine().vault.empty());
    EXPECT_EQ(window.groupTree()->topLevelItem(0)->text(0), "New container");
    EXPECT_EQ(window.entryModel()->rowCount(), 0);
    EXPECT_EQ(window.statusField(0)->text(), "0 groups / 0 entries");

    openFiles.push_back(QString::fromStdString(home.file("copy.vlt")));
    passwords.push_back("n3w");
    window.dispatch(Command{1});
    test::ExpectSameVault(test::SampleVault({4}), app->engine().vault);
}

// While the error box of a failed Save As is up, and after it, the window still names the file
// that holds the vault: its title, the tree's root and the status bar.
TEST_F(MainWindowFlow, AFailedSaveAsNeverShowsTheNameItFailedOn) {
    MainWindow& window = openSample();
    auto shown = [&window] {
        return (window.windowTitle() + " | " + window.groupTree()->topLevelItem(0)->text(0) +
                " | " + window.statusField(2)->text())
            .toStdString();
    };
    const std::string before = shown();
    ASSERT_NE(before.find(" | vault.vlt | "), std::string::npos) << before;
    std::vector<std::string> atMessage;
    prompter.onPrompt = [&](const test::Prompt&) { atMessage.push_back(shown()); };

    passwords.push_back("n3w");
    saveFiles.push_back(QString::fromStdString(home.file("missing/copy.vlt")));
    window.dispatch(Command{3});
    ASSERT_EQ(atMessage.size(), 1u);
    EXPECT_TRUE(prompter.prompts.back().text.startsWith(
        "The file is locked and could not be created/modified."));
    EXPECT_EQ(atMessage[0], before);
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(app->engine().ContainerPath, fromUtf8(file));
    EXPECT_TRUE(app->engine().ContainerPassword.view() == u"abc");
}

TEST_F(MainWindowFlow, ChangingThePasswordAsksInItsOwnMode) {
    MainWindow& window = openSample();
    passwords.push_back("changed");
    window.dispatch(Command{5});
    EXPECT_EQ(passwordModes.back(), kPasswordChange);
    EXPECT_TRUE(app->engine().ContainerPassword.view() == u"changed");
}

TEST_F(MainWindowFlow, ARecentFileThatVanishedWarnsAndStaysListed) {
    MainWindow& window = openSample();
    ASSERT_EQ(app->engine().Recent.paths.size(), 1u);
    ASSERT_NE(window.mainMenu()->action(Command{300}), nullptr);
    std::filesystem::remove(file);
    window.dispatch(Command{300});
    EXPECT_EQ(prompter.prompts.size(), 1u);  // the warning
    EXPECT_EQ(app->engine().Recent.paths.size(), 1u);
    window.dispatch(Command{9});  // clear the list
    EXPECT_TRUE(app->engine().Recent.paths.empty());
    EXPECT_EQ(window.mainMenu()->action(Command{300}), nullptr);
}

TEST_F(MainWindowFlow, OnlyTheFirstDroppedFileIsOpened) {
    writeConfig("");
    const std::string a = sampleContainer("a.vlt");
    const std::string b = sampleContainer("b.vlt");
    startWith();
    passwords.push_back("abc");
    app->window().openDroppedFiles(
        {QUrl::fromLocalFile(QString::fromStdString(a)),
         QUrl::fromLocalFile(QString::fromStdString(b)),
         QUrl::fromLocalFile(QString::fromStdString(home.file("c.vlt")))});
    EXPECT_EQ(passwordModes.size(), 1u);
    EXPECT_EQ(app->engine().ContainerPath, fromUtf8(a));

    app->window().openDroppedFiles(
        {QUrl::fromLocalFile(QString::fromStdString(home.path().string()))});
    app->window().openDroppedFiles({QUrl()});
    EXPECT_EQ(passwordModes.size(), 1u);
}

// The group editor as the user meets it: a name typed, Return; the tree and the list follow every
// group command, and what was built saves and reopens.
TEST_F(MainWindowFlow, GroupCommandsRunThroughTheEditorAndTheTreeFollows) {
    Vault damaged = test::SampleVault({4});
    damaged.Groups.at(2).Depth = 7;  // "Deep", one below "Banks" on screen
    damaged.Groups.at(3).Depth = 0;  // the unnamed top-level group
    MainWindow& window = openSample(damaged);
    RecordList<Group>& groups = app->engine().vault.Groups;
    ASSERT_EQ(groups.count(), 4);
    EXPECT_EQ(groups.at(2).Depth, 3);
    EXPECT_EQ(groups.at(3).Depth, 1);

    QTreeWidget* tree = window.groupTree();
    tree->setCurrentItem(tree->topLevelItem(0)->child(0)->child(0));  // "Banks", one entry
    ASSERT_EQ(window.entryModel()->rowCount(), 1);
    QTimer::singleShot(0, [] {
        auto* editor = qobject_cast<GroupWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        auto* name = editor->findChild<QLineEdit*>(QStringLiteral("nameField"));
        name->setText(QStringLiteral("Cards"));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(name, &press);
    });
    window.dispatch(Command{11});
    ASSERT_EQ(groups.count(), 5);
    EXPECT_EQ(groups.at(3).Name, u"Cards");
    EXPECT_EQ(groups.at(3).Depth, 3);
    EXPECT_EQ(window.selectedGroupItem(), 4);
    EXPECT_EQ(tree->currentItem()->text(0), "Cards");
    EXPECT_EQ(tree->currentItem()->parent()->text(0),
              tree->topLevelItem(0)->child(0)->child(0)->text(0));
    EXPECT_EQ(window.entryModel()->rowCount(), 0);  // the new group's own, empty list
    EXPECT_TRUE(window.statusField(0)->text().startsWith("5 groups"));

    window.dispatch(Command{30});  // up, above "Deep"
    window.dispatch(Command{32});  // left: "Deep" becomes its child
    EXPECT_EQ(window.selectedGroupItem(), 3);
    EXPECT_EQ(tree->currentItem()->text(0), "Cards");
    ASSERT_EQ(tree->currentItem()->childCount(), 1);
    EXPECT_EQ(tree->currentItem()->child(0)->text(0), "Deep");

    window.dispatch(Command{2});
    prompter.answers.push_back(true);
    window.dispatch(Command{0});
    ASSERT_TRUE(app->engine().vault.empty());
    openFiles.push_back(QString::fromStdString(file));
    passwords.push_back("abc");
    window.dispatch(Command{1});
    std::vector<std::pair<std::u16string, int>> reopened;
    for (const Group& g : groups) {
        reopened.emplace_back(g.Name, g.Depth);
    }
    EXPECT_EQ(reopened,
              (std::vector<std::pair<std::u16string, int>>{
                  {u"Home", 1}, {groups.at(1).Name, 2}, {u"Cards", 2}, {u"Deep", 3}, {u"", 1}}));
}

}  // namespace
}  // namespace vlt
