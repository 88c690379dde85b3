#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>

#include "RawContainer.h"
#include "SampleVault.h"
#include "ShellFixture.h"
#include "Widgets.h"
#include "common/Utf.h"
#include "engine/settings/IniFile.h"
#include "engine/view/EntryList.h"
#include "shell/commands/MainMenu.h"
#include "shell/commands/PopupMenus.h"
#include "shell/dialogs/FindWindow.h"
#include "shell/dialogs/GroupWindow.h"
#include "shell/main/EntryListHeader.h"
#include "shell/main/EntryListModel.h"
#include "shell/main/EntryListView.h"

namespace vlt {
namespace {

constexpr std::int32_t kNow = 1796722130;

class MainWindowFlow : public test::ShellFixture {
  protected:
    // Starts VLT with the sample container open (password "abc").
    MainWindow& openSample(const Vault& vault = test::SampleVault({4})) {
        writeConfig("");
        test::RawContainer raw;
        raw.addVault(vault);
        file = home.file("vault.vlt");
        test::writeFile(file, raw.text());
        passwords.push_back("abc");
        make();
        app->engine().clock = [] { return kNow; };
        EXPECT_TRUE(app->start({QString::fromStdString(file)}));
        return app->window();
    }
    QString cell(int row, int column) {
        auto* model = app->window().entryModel();
        return model->data(model->index(row, column), Qt::DisplayRole).toString();
    }
    // A left click (press and release) at a point of the widget.
    static void click(QWidget* target, QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        const QPointF global = target->mapToGlobal(QPointF(at));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton,
                          Qt::LeftButton, keys);
        QApplication::sendEvent(target, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
                            Qt::NoButton, keys);
        QApplication::sendEvent(target, &release);
    }
    void clickRow(int row, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QTableView* list = app->window().entryList();
        const QModelIndex index = list->model()->index(row, kColAccounts);
        click(list->viewport(), list->visualRect(index).center(), keys);
    }
    // A click on the comment view's text where `fragment` stands.
    void clickComment(const QString& fragment) {
        QTextBrowser* view = app->window().commentView();
        const auto at = view->toPlainText().indexOf(fragment);
        ASSERT_GE(at, 0) << fragment.toStdString();
        QTextCursor cursor(view->document());
        cursor.setPosition(static_cast<int>(at) + 2);
        click(view->viewport(), view->cursorRect(cursor).center());
    }
    std::string file;
};

// Three entries in one group, for sorting.
Vault ThreeEntries() {
    Vault vault;
    vault.Groups.append(Group{1, 1, u"Mail", 3});
    const char16_t* accounts[] = {u"beta", u"Alpha", u"alpha"};
    for (int i = 0; i < 3; ++i) {
        Entry e;
        e.ID = 10 + i;
        e.GroupID = 1;
        e.Account = accounts[i];
        e.Password = u"pw";
        e.CreationDate = 100 - i;
        vault.Entries.append(e);
    }
    return vault;
}

// ThreeEntries with comments, the first one holding links of every kind.
Vault CommentedEntries() {
    Vault vault = ThreeEntries();
    vault.Entries.at(0).Comment =
        u"Log in at https://bank.example/login?a=1&b=2 or www.example.org;\r\nnever "
        u"javascript:alert(1) or file:///etc/passwd";
    vault.Entries.at(1).Comment = u"second";
    vault.Entries.at(2).Comment = u"third";
    return vault;
}

TEST_F(MainWindowFlow, TheTreeShowsTheGroupsAndTheListTheSelectedGroupsEntries) {
    MainWindow& window = openSample();
    QTreeWidget* tree = window.groupTree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), "vault.vlt");
    ASSERT_EQ(root->childCount(), 2);  // Home (with Banks below it, and Deep below that), ""
    EXPECT_EQ(root->child(0)->text(0), "Home");
    EXPECT_EQ(root->child(0)->child(0)->text(0), QString::fromUtf16(u"Banks \u00e9\U0001F3E6"));
    EXPECT_EQ(root->child(0)->child(0)->child(0)->text(0), "Deep");
    EXPECT_TRUE(root->child(0)->isExpanded());
    EXPECT_EQ(window.selectedGroupItem(), 1);

    tree->setCurrentItem(root->child(0)->child(0));  // Banks: the full entry
    ASSERT_EQ(window.entryModel()->rowCount(), 1);
    EXPECT_EQ(cell(0, kColAccounts), "Savings");
    EXPECT_EQ(cell(0, kColPasswords), "*****");
    EXPECT_EQ(cell(0, kColExpirationDates), "12/13/1901 20:45:52");
    EXPECT_EQ(window.statusField(1)->text(), "0 of 1 selected");
}

TEST_F(MainWindowFlow, SelectingARowStampsItsAccessDateButRebuildsDoNot) {
    MainWindow& window = openSample();
    window.groupTree()->setCurrentItem(window.groupTree()->topLevelItem(0)->child(0)->child(0));
    Entry& entry = app->engine().vault.Entries.at(0);
    EXPECT_EQ(entry.AccessDate, 0);
    window.entryList()->selectRow(0);
    EXPECT_EQ(entry.AccessDate, kNow);
    EXPECT_TRUE(window.commentView()->toPlainText().startsWith("ccc"));
    EXPECT_EQ(window.statusField(1)->text(), "1 of 1 selected");

    entry.AccessDate = 5;
    Entry_RefreshList(app->engine());  // reselects the row from code
    EXPECT_EQ(entry.AccessDate, 5);
    EXPECT_TRUE(window.entryList()->selectionModel()->isRowSelected(0, {}));
}

TEST_F(MainWindowFlow, DraggingAMaskedPasswordCarriesTheRealText) {
    MainWindow& window = openSample();
    window.groupTree()->setCurrentItem(window.groupTree()->topLevelItem(0)->child(0)->child(0));
    auto* view = qobject_cast<QTableView*>(window.entryList());
    auto* list = static_cast<EntryListView*>(view);
    auto* model = window.entryModel();
    EXPECT_EQ(list->dragText(model->index(0, kColPasswords)),
              QString::fromUtf16(u"p\u00e4ss \U0001F511 word"));
    EXPECT_EQ(list->dragText(model->index(0, kColAttachments)), "file-4.bin");
    // While a load or a plugin run holds the engine, the row may point into a changing vault.
    {
        Engine::BusyGuard busy(app->engine());
        EXPECT_EQ(list->dragText(model->index(0, kColPasswords)), "");
        EXPECT_EQ(list->dragText(model->index(0, kColAttachments)), "");
    }
    EXPECT_EQ(list->dragText(model->index(0, kColUserNames)), QString::fromUtf16(u"j\u00f6rg"));
}

TEST_F(MainWindowFlow, AColumnShownAgainGetsTheWidthItHadWhenHidden) {
    MainWindow& window = openSample();
    window.entryList()->setColumnWidth(kColPasswords, 77);
    window.dispatch(Command{44});
    EXPECT_TRUE(window.entryList()->isColumnHidden(kColPasswords));
    EXPECT_FALSE(window.mainMenu()->action(Command{44})->isChecked());
    EXPECT_EQ(app->engine().settings.Columns[kColPasswords].Show, 0);
    window.dispatch(Command{97});  // the header popup's item for the same column
    EXPECT_FALSE(window.entryList()->isColumnHidden(kColPasswords));
    EXPECT_EQ(window.entryList()->columnWidth(kColPasswords), 77);
    EXPECT_TRUE(window.mainMenu()->action(Command{44})->isChecked());
}

TEST_F(MainWindowFlow, MaskTogglesRebuildTheList) {
    MainWindow& window = openSample();
    window.groupTree()->setCurrentItem(window.groupTree()->topLevelItem(0)->child(0)->child(0));
    window.dispatch(Command{40});  // passwords shown
    EXPECT_EQ(cell(0, kColPasswords), QString::fromUtf16(u"p\u00e4ss \U0001F511 word"));
    EXPECT_FALSE(window.mainMenu()->action(Command{40})->isChecked());
    window.dispatch(Command{40});
    EXPECT_EQ(cell(0, kColPasswords), "*****");
    EXPECT_TRUE(window.mainMenu()->action(Command{40})->isChecked());
}

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

TEST_F(MainWindowFlow, CommandsGivenWhileTheEngineIsBusyRunInOrderOnceItIsIdle) {
    MainWindow& window = openSample(ThreeEntries());
    const MaskFields masks = app->engine().settings.Mask;
    {
        Engine::BusyGuard busy(app->engine());
        window.dispatch(Command::NewContainer);  // asks: answered No
        window.dispatch(Command::MassModify);    // tells that two rows are wanted
        window.dispatch(Command::HideAccounts);
        window.dispatch(Command::HideUserNames);
        window.dispatch(Command::HidePasswords);  // one more than is kept
        window.entryList()->horizontalHeader()->sectionClicked(kColAccounts);  // would sort
        window.close();                                                        // would ask
        QCoreApplication::processEvents();
        EXPECT_TRUE(prompter.prompts.empty());
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(promptTexts(),
              (QStringList{"Would you like to create a new container? Any unsaved entries will be "
                           "lost!",
                           "Please select 2 or more items first."}));
    const MaskFields& now = app->engine().settings.Mask;
    EXPECT_NE(now.Accounts, masks.Accounts);
    EXPECT_NE(now.UserNames, masks.UserNames);
    EXPECT_EQ(now.Passwords, masks.Passwords);
    EXPECT_EQ(app->engine().vault.Groups.count(), 1);
    EXPECT_EQ(app->engine().SortDirections[kColAccounts], 0);  // never sorted
    EXPECT_TRUE(window.isVisible());

    // During an export or import the commands given are dropped for good.
    {
        Engine::BusyGuard busy(app->engine());
        window.SetInterfaceDisabled(true);
        window.dispatch(Command::NewContainer);
        window.SetInterfaceDisabled(false);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(prompter.prompts.size(), 2u);
}

TEST_F(MainWindowFlow, KeysPressedDuringASaveRunTheirCommandsOnceTheFileIsWritten) {
    MainWindow& window = openSample();
    QApplication::setActiveWindow(&window);
    const std::string before = test::readFile(file);
    bool pressed = false;
    int findWindows = 0;
    // Ctrl+F on the progress window, while the save pumps events; then the Find window, closed.
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* progress = window.findChild<QWidget*>(QStringLiteral("progressWindow"));
        if (progress != nullptr && !pressed) {
            auto* key = test::child<QShortcut>(progress, "shortcut65-Ctrl+F");
            pressed = key != nullptr;
            if (pressed) {
                EXPECT_TRUE(app->engine().busy());
                emit key->activated();
            }
        }
        if (auto* find = qobject_cast<FindWindow*>(QApplication::activeModalWidget())) {
            ++findWindows;
            EXPECT_NE(test::readFile(file), before);
            find->reject();
        }
    });
    user.start(0);
    // What is typed before the progress window opens reaches the main window before that window
    // blocks it.
    bool early = false;
    QTimer::singleShot(0, &window, [&] {
        early = app->engine().busy() &&
                window.findChild<QWidget*>(QStringLiteral("progressWindow")) == nullptr;
    });
    window.dispatch(Command::Save);
    EXPECT_TRUE(early);
    EXPECT_TRUE(pressed);
    EXPECT_EQ(findWindows, 1);
}

TEST_F(MainWindowFlow, SelectAllCountsTheSelectedRows) {
    MainWindow& window = openSample(ThreeEntries());
    QApplication::setActiveWindow(&window);
    window.groupTree()->setFocus();
    ASSERT_TRUE(window.groupTree()->hasFocus());
    window.dispatch(Command{17});
    EXPECT_EQ(window.statusField(1)->text(), "3 of 3 selected");
    EXPECT_TRUE(window.entryList()->hasFocus());
}

TEST_F(MainWindowFlow, ExpandAndCollapseActOnTheSelectedGroupOnly) {
    MainWindow& window = openSample();
    QTreeWidgetItem* home = window.groupTree()->topLevelItem(0)->child(0);
    window.groupTree()->setCurrentItem(home);
    window.dispatch(Command{78});
    EXPECT_FALSE(home->isExpanded());
    EXPECT_TRUE(home->isSelected());
    window.dispatch(Command{77});
    EXPECT_TRUE(home->isExpanded());
    window.dispatch(Command{37});
    EXPECT_FALSE(window.groupTree()->topLevelItem(0)->isExpanded());
    window.dispatch(Command{36});
    EXPECT_TRUE(home->child(0)->isExpanded());
}

TEST_F(MainWindowFlow, NoCommandIsGreyedForWantOfItsWindow) {
    MainWindow& window = openSample();
    for (const CommandRow& row : CommandRows()) {
        EXPECT_TRUE(IsAvailable(row.command)) << CommandNumber(row.command);
    }
    // The menus, the popups and the toolbar are greyed by the same rule.
    for (const CommandRow& row : CommandRows()) {
        const int id = CommandNumber(row.command);
        QAction* action = window.mainMenu()->action(row.command);
        if (action == nullptr) {
            action = window.popups()->item(row.command);
        }
        if (auto* button = window.findChild<QToolButton*>(QStringLiteral("button%1").arg(id));
            action == nullptr && button != nullptr) {
            action = button->defaultAction();
        }
        ASSERT_NE(action, nullptr) << id;
        EXPECT_TRUE(action->isEnabled()) << id;
    }
}

TEST_F(MainWindowFlow, FindNextSelectsTheHitsGroupAndRowWithoutStampingIt) {
    MainWindow& window = openSample();
    Engine& engine = app->engine();
    engine.ActiveSearch.SearchText = u"J\u00d6RG";
    engine.ActiveSearch.SearchUsers = 1;
    engine.ActiveSearch.SearchExpired = 1;
    window.dispatch(Command::FindNext);
    EXPECT_EQ(window.selectedGroupItem(), 2);  // "Banks", below "Home"
    EXPECT_EQ(window.groupTree()->currentItem()->text(0),
              QString::fromUtf16(u"Banks \u00e9\U0001F3E6"));
    EXPECT_EQ(window.currentRow(), 0);
    EXPECT_TRUE(window.commentView()->toPlainText().startsWith("ccc"));
    EXPECT_EQ(window.statusField(1)->text(), "1 of 1 selected");
    EXPECT_EQ(engine.vault.Entries.at(0).AccessDate, 0);
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(MainWindowFlow, ExitWritesTheViewSettingsAndEndsTheLog) {
    writeConfig("[MainSettings]\r\nLogActions = 1\r\n");
    test::RawContainer raw;
    raw.addVault(test::SampleVault({}));
    file = home.file("vault.vlt");
    test::writeFile(file, raw.text());
    passwords.push_back("abc");
    startWith({QString::fromStdString(file)});
    MainWindow& window = app->window();
    window.resize(700, 480);
    window.dispatch(Command{39});  // user names shown
    window.dispatch(Command{45});  // URL column hidden
    app->engine().settings.Search.SearchText = u"needle";

    prompter.answers.push_back(true);
    window.dispatch(Command{10});
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(endCodes, std::vector<int>{0});
    IniFile ini;
    ASSERT_TRUE(ini.load(configPath()));
    EXPECT_EQ(ini.readNumber(u"Window", u"MainWinW", 0), 700);
    EXPECT_EQ(ini.readNumber(u"MaskFields", u"UserNames", 9), 0);
    EXPECT_EQ(ini.readNumber(u"Columns", u"ShowColURLs", 9), 0);
    EXPECT_EQ(ini.readNumber(u"Columns", u"URLsColSize", 0), 120);  // kept, not 0
    EXPECT_TRUE(ini.readString(u"SearchOptions", u"SearchText", u"") == u"needle");
    const std::string log = test::readFile(dataFolder() + "VLT.log");
    EXPECT_NE(log.find("ConfirmExit() -> Saving settings"), std::string::npos);
    EXPECT_NE(log.find("ConfirmExit() -> End()"), std::string::npos);
    EXPECT_EQ(log.rfind("\r\n<<< Session ended >>>\r\n"), log.size() - 25);
}

TEST_F(MainWindowFlow, ClosingTheWindowAsksOrMinimisesAsConfigured) {
    MainWindow& window = openSample();
    prompter.answers.push_back(false);
    window.close();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(prompter.prompts.back().text,
              "Would you like to exit VLT? Any unsaved changes will be discarded.");
    const std::size_t asked = prompter.prompts.size();
    app->engine().settings.Main.CloseSendTray = 1;
    window.close();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
    EXPECT_EQ(prompter.prompts.size(), asked);
}

TEST_F(MainWindowFlow, TheInterfaceLockGreysAndRestores) {
    MainWindow& window = openSample();
    window.SetInterfaceDisabled(true);
    EXPECT_FALSE(window.groupTree()->isEnabled());
    EXPECT_FALSE(window.entryList()->isEnabled());
    EXPECT_FALSE(window.mainMenu()->action(Command{1})->isEnabled() &&
                 window.menuBar()->actions().first()->isEnabled());
    window.SetInterfaceDisabled(false);
    EXPECT_TRUE(window.groupTree()->isEnabled());
    EXPECT_TRUE(window.menuBar()->actions().first()->isEnabled());
    EXPECT_TRUE(window.mainMenu()->action(Command{69})->isEnabled());
}

TEST_F(MainWindowFlow, StartAndExitKeepTheDividersWhereTheyWere) {
    writeConfig("[Window]\r\nSplitter1 = 150\r\nSplitter2 = 260\r\n");
    for (int round = 0; round < 2; ++round) {
        startWith();
        app->window().dispatch(Command{10});
        ASSERT_EQ(endCodes.size(), static_cast<std::size_t>(round + 1));
        IniFile ini;
        ASSERT_TRUE(ini.load(configPath()));
        EXPECT_EQ(ini.readNumber(u"Window", u"Splitter1", 0), 150) << round;
        EXPECT_EQ(ini.readNumber(u"Window", u"Splitter2", 0), 260) << round;
        app.reset();
    }

    // Positions no window can have (a hand-edited file) leave every pane on the screen.
    for (const char* dividers : {"Splitter1 = 2147483647\r\nSplitter2 = -2147483647\r\n",
                                 "Splitter1 = -2147483647\r\nSplitter2 = 2147483647\r\n"}) {
        writeConfig(std::string("[Window]\r\n") + dividers);
        startWith();
        for (const char* name : {"treeListSplitter", "upperCommentSplitter"}) {
            auto* splitter = app->window().findChild<QSplitter*>(QLatin1String(name));
            ASSERT_NE(splitter, nullptr);
            const QList<int> sizes = splitter->sizes();
            const int whole =
                splitter->orientation() == Qt::Horizontal ? splitter->width() : splitter->height();
            ASSERT_EQ(sizes.size(), 2) << name;
            EXPECT_GE(sizes[0], 40) << name << dividers;
            EXPECT_GE(sizes[1], 40) << name << dividers;
            EXPECT_LE(sizes[0] + splitter->handleWidth() + sizes[1], whole) << name << dividers;
        }
        app.reset();
    }
}

TEST_F(MainWindowFlow, ACommentLinkOpensOnlyAfterYesAndOnlyForWebAndMail) {
    MainWindow& window = openSample(CommentedEntries());
    clickRow(0);
    // A stored line end (CR LF) is one line break.
    ASSERT_EQ(window.commentView()->toPlainText().toStdString(),
              "Log in at https://bank.example/login?a=1&b=2 or www.example.org;\nnever "
              "javascript:alert(1) or file:///etc/passwd");
    const auto asked = [this] { return prompter.prompts.size(); };

    prompter.answers.push_back(false);
    clickComment("bank.example");
    ASSERT_EQ(asked(), 1u);
    EXPECT_EQ(prompter.prompts.back().caption, "Please confirm");
    EXPECT_EQ(prompter.prompts.back().text,
              "Would you like to open the link below in the default browser window?\r\n\r\n"
              "\"https://bank.example/login?a=1&b=2\"");
    EXPECT_EQ(prompter.prompts.back().icon, MessageIcon::Question);
    EXPECT_TRUE(prompter.prompts.back().question);
    EXPECT_TRUE(openedUrls.isEmpty());

    prompter.answers.push_back(true);
    clickComment("bank.example");
    EXPECT_EQ(openedUrls, QStringList{"https://bank.example/login?a=1&b=2"});

    // The question quotes the link as written; the browser gets it with its scheme.
    prompter.answers.push_back(true);
    clickComment("www.example.org");
    EXPECT_TRUE(prompter.prompts.back().text.endsWith("\r\n\r\n\"www.example.org\""));
    EXPECT_EQ(openedUrls.size(), 2);
    EXPECT_EQ(openedUrls.back(), "http://www.example.org");

    // Other schemes are no links, and anchors the comment was not given open nothing.
    prompter.answers.assign({true, true, true, true, true});
    clickComment("javascript");
    clickComment("etc/passwd");
    for (const char* forged : {"javascript:alert(1)", "file:///etc/passwd", "#7", "#-1", "#"}) {
        window.commentView()->anchorClicked(QUrl(QString::fromLatin1(forged)));
    }
    EXPECT_EQ(asked(), 3u);
    EXPECT_EQ(openedUrls.size(), 2);
}

TEST_F(MainWindowFlow, OnlyHeaderClicksSetTheSortArrowAndAscendingPointsUp) {
    MainWindow& window = openSample(ThreeEntries());
    auto* header = window.findChild<EntryListHeader*>(QStringLiteral("entryListHeader"));
    ASSERT_NE(header, nullptr);
    ASSERT_EQ(window.entryList()->horizontalHeader(), header);
    auto arrow = [header](int section) {
        QStyleOptionHeader option;
        header->initStyleOptionForIndex(&option, section);
        return option.sortIndicator;
    };

    header->sectionClicked(kColAccounts);
    EXPECT_EQ(cell(0, 0), "Alpha");  // ascending
    EXPECT_EQ(arrow(kColAccounts), QStyleOptionHeader::SortUp);
    header->sectionClicked(kColAccounts);
    EXPECT_EQ(cell(0, 0), "beta");  // descending
    EXPECT_EQ(arrow(kColAccounts), QStyleOptionHeader::SortDown);
    header->sectionClicked(kColAccounts);
    EXPECT_EQ(arrow(kColAccounts), QStyleOptionHeader::SortUp);

    window.dispatch(Command{55});  // the menu's sort command: sorts, leaves the arrows alone
    EXPECT_EQ(cell(0, 0), "beta");
    EXPECT_EQ(arrow(kColAccounts), QStyleOptionHeader::SortUp);

    header->sectionClicked(kColCreationDates);
    EXPECT_EQ(arrow(kColCreationDates), QStyleOptionHeader::SortUp);
    for (int column = 0; column < kColumnCount; ++column) {
        if (column != kColCreationDates) {
            EXPECT_EQ(arrow(column), QStyleOptionHeader::None) << column;
        }
    }
}

TEST_F(MainWindowFlow, OnlyASelectedRowIsCurrent) {
    MainWindow& window = openSample(CommentedEntries());
    QTableView* list = window.entryList();
    Vault& vault = app->engine().vault;
    auto stamped = [&vault] {
        std::vector<std::int32_t> ids;
        for (Entry& entry : vault.Entries) {
            if (entry.AccessDate != 0) {
                ids.push_back(entry.ID);
            }
            entry.AccessDate = 0;
        }
        return ids;
    };
    clickRow(1);
    EXPECT_EQ(window.statusField(1)->text(), "1 of 3 selected");
    EXPECT_EQ(window.commentView()->toPlainText(), "second");
    EXPECT_EQ(stamped(), std::vector<std::int32_t>{11});

    // Blank space below the rows deselects all: no comment stays, and neither a later click
    // nor the list gaining the focus (Qt then makes its first row current) stamps an entry.
    const QPoint blank(10, list->viewport()->height() - 3);
    ASSERT_FALSE(list->indexAt(blank).isValid());
    click(list->viewport(), blank);
    EXPECT_EQ(window.statusField(1)->text(), "0 of 3 selected");
    EXPECT_TRUE(window.commentView()->toPlainText().isEmpty());
    click(list->viewport(), blank);
    QFocusEvent focus(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(list, &focus);
    EXPECT_TRUE(window.commentView()->toPlainText().isEmpty());
    EXPECT_TRUE(stamped().empty());

    // Deselecting the current row of several makes the first row still selected current.
    clickRow(2);
    clickRow(0, Qt::ControlModifier);
    EXPECT_EQ(window.statusField(1)->text(), "2 of 3 selected");
    EXPECT_EQ(window.commentView()->toPlainText().left(6), "Log in");
    clickRow(0, Qt::ControlModifier);
    EXPECT_EQ(window.statusField(1)->text(), "1 of 3 selected");
    EXPECT_EQ(window.commentView()->toPlainText(), "third");
    EXPECT_EQ(stamped().back(), 12);
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
