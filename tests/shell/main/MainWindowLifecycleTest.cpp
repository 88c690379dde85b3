// The main window around its commands: commands given while the engine is busy, the greying
// of commands and the interface lock, closing and exiting, and the settings kept across a start.
#include <QAction>
#include <QHeaderView>
#include <QMenuBar>
#include <QShortcut>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "MainWindowFlow.h"
#include "Widgets.h"
#include "engine/settings/IniFile.h"
#include "shell/commands/MainMenu.h"
#include "shell/commands/PopupMenus.h"
#include "shell/dialogs/FindWindow.h"

namespace vlt {
namespace {

using test::MainWindowFlow;

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

}  // namespace
}  // namespace vlt
