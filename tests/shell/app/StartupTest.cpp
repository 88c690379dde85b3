#include <sys/prctl.h>
#include <sys/resource.h>

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>
#include <sstream>

#include "Fifo.h"
#include "ShellFixture.h"
#include "common/Utf.h"
#include "engine/settings/IniFile.h"

namespace vlt {
namespace {

using test::ShellFixture;

const QString kFactoryMessage =
    "The configuration file could not be read. All the settings were reset to their factory "
    "defaults. You can always change them from the 'File -> Program configuration' menu.";

TEST_F(ShellFixture, FirstStartCreatesTheDataFolderAndTellsOnce) {
    startWith();
    EXPECT_TRUE(std::filesystem::is_regular_file(configPath()));
    EXPECT_EQ(std::filesystem::status(dataFolder()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    EXPECT_EQ(promptTexts(), QStringList{kFactoryMessage});
    EXPECT_EQ(app->window().windowTitle(), "Orvelline Vaultwick v4.1 -  no container open");
    EXPECT_EQ(app->window().size(), QSize(685, 450));
    EXPECT_TRUE(app->window().isVisible());
    EXPECT_EQ(app->window().statusField(0)->text(), "0 groups / 0 entries");
    EXPECT_EQ(app->window().statusField(2)->text(), "No container open");

    app.reset();
    prompter.prompts.clear();
    startWith();
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(ShellFixture, NoCoreDumpCanHoldTheVault) {
    startWith();
    rlimit core{};
    ASSERT_EQ(getrlimit(RLIMIT_CORE, &core), 0);
    EXPECT_EQ(core.rlim_cur, 0u);
    EXPECT_EQ(core.rlim_max, 0u);
    EXPECT_EQ(prctl(PR_GET_DUMPABLE), 0);
}

TEST_F(ShellFixture, AConfigBesideTheProgramMakesItPortable) {
    test::writeFile(home.file("bin/Config.ini"), "");
    startWith();
    EXPECT_EQ(app->paths().PortableMode, 1);
    EXPECT_EQ(app->paths().ConfigPath, home.file("bin/Config.ini"));
    EXPECT_FALSE(std::filesystem::exists(dataFolder()));
    EXPECT_TRUE(prompter.prompts.empty());  // an empty file is read, not replaced
    EXPECT_EQ(app->engine().settings.Main.MainWinW, 685);
}

TEST_F(ShellFixture, StartUpTracesItsStepsInOrderEachAsItsWorkBegins) {
    writeConfig(
        "[MainSettings]\r\nLogActions = 1\r\nAutoClearClip = 1\r\nAutoCloseContainer = 1\r\n");
    make();
    // The log reads the clock once for each line it writes: the parts of the main window that
    // exist at that moment are those the steps traced before that line have built.
    const QStringList parts = {"shortcut0-Ctrl+N", "statusBar",   "menuFile",
                               "popup1",           "mainToolbar", "groupTree"};
    std::vector<QStringList> builtAtLine;
    app->engine().clock = [&] {
        QStringList built;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            for (const QString& part : parts) {
                if (window->objectName() == "mainWindow" && window->findChild<QObject*>(part)) {
                    built << part;
                }
            }
        }
        builtAtLine.push_back(built);
        return 1796722130;
    };
    ASSERT_TRUE(app->start({}));
    app->engine().log.Log_Close();
    const std::string log = test::readFile(dataFolder() + "VLT.log");
    const char* steps[] = {"\r\n<<< Orvelline Vaultwick v.4.1 >>>\r\n\r\n",
                           "#08/12/26 09:28:50 Main() -> Program compiled on: ",
                           "Main() -> Loading plugins",
                           "Main() -> Done loading plugins",
                           "Main() -> Opening main window",
                           "Main() -> Started autoclose container thread id: ",
                           "Main() -> Started autoclear clipboard thread id: ",
                           "Main() -> Configuring main window",
                           "Main() -> Adding keyboard shortcuts",
                           "Main() -> Applying window settings",
                           "Main() -> Showing window"};
    std::size_t at = 0;
    for (const char* step : steps) {
        const std::size_t found = log.find(step, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << step;
        at = found;
    }

    std::vector<std::string> lines;  // the traced messages
    std::istringstream read(log);
    for (std::string line; std::getline(read, line);) {
        if (line.starts_with('#')) {
            const std::size_t start = line.find("-> ") + 3;
            lines.push_back(line.substr(start, line.find('\r') - start));
        }
    }
    ASSERT_EQ(lines.size(), builtAtLine.size());
    auto builtAt = [&](const std::string& line) {
        const auto found = std::find(lines.begin(), lines.end(), line);
        EXPECT_NE(found, lines.end()) << "not traced: " << line;
        return found == lines.end() ? QStringList() : builtAtLine[found - lines.begin()];
    };
    struct Part {
        std::string before;  // traced before the part is built
        QString name;
        std::string after;  // the next step's line, traced once it is built
    };
    const Part built[] = {
        {"Adding keyboard shortcuts", "shortcut0-Ctrl+N", "Creating statusbar"},
        {"Creating statusbar", "statusBar", "Setting up bosskey"},
        {"Creating main menu", "menuFile", "Creating groups menu"},
        {"Creating groups menu", "popup1", "Configuring menus"},
        {"Creating toolbar", "mainToolbar", "Creating gadgets"},
        {"Creating gadgets", "groupTree", "Adding auto-resize support"},
    };
    for (const Part& part : built) {
        EXPECT_FALSE(builtAt(part.before).contains(part.name)) << "built before: " << part.before;
        EXPECT_TRUE(builtAt(part.after).contains(part.name)) << "not built by: " << part.after;
    }
}

TEST_F(ShellFixture, WithoutLoggingNoLogFileAppears) {
    writeConfig("[MainSettings]\r\nLogActions = 0\r\n");
    startWith();
    EXPECT_FALSE(std::filesystem::exists(dataFolder() + "VLT.log"));
}

TEST_F(ShellFixture, AContainerOnTheCommandLineOpensBeforeTheWindowShows) {
    writeConfig("");
    const std::string file = sampleContainer();
    passwords.push_back("abc");
    startWith({QString::fromStdString(file)});
    ASSERT_EQ(windowVisibleAtPassword, std::vector<bool>{false});
    EXPECT_EQ(passwordModes, std::vector<int>{kPasswordOpen});
    EXPECT_EQ(app->engine().vault.Groups.count(), 4);
    EXPECT_EQ(app->window().windowTitle(), "Orvelline Vaultwick v4.1 - sample.vlt");
    EXPECT_EQ(app->window().groupTree()->topLevelItem(0)->text(0), "sample.vlt");
    EXPECT_EQ(app->window().statusField(0)->text(), "4 groups / 2 entries");
    EXPECT_EQ(app->window().statusField(2)->text(), "Container: " + QString::fromStdString(file));
}

TEST_F(ShellFixture, AWrongPasswordOnTheCommandLineIsRefused) {
    writeConfig("");
    const std::string file = sampleContainer();
    passwords.push_back("abd");
    startWith({QString::fromStdString(file)});
    EXPECT_TRUE(app->engine().vault.empty());
    ASSERT_FALSE(prompter.prompts.empty());
    EXPECT_EQ(prompter.prompts.back().caption, "Open error");
    EXPECT_EQ(prompter.prompts.back().text,
              "The supplied password is wrong or the database has been modified outside VLT. "
              "Please try again.");
}

TEST_F(ShellFixture, TheTrayArgumentIgnoresCaseAndBlanksButPathsKeepTheirCase) {
    writeConfig("");
    startWith({"  -TRAY "});
    EXPECT_TRUE(app->trayAtStart());
    // In the tray where there is one, minimised where there is none: never shown as usual.
    EXPECT_TRUE(app->window().isMinimized() || !app->window().isVisible());

    app.reset();
    const std::string file = sampleContainer("Mixed.VLT");
    passwords.push_back("abc");
    startWith({QString::fromStdString(file)});
    EXPECT_FALSE(app->trayAtStart());
    EXPECT_EQ(app->engine().ContainerPath, fromUtf8(file));

    // A relative path is kept absolute, so the recent-files list works from anywhere.
    app.reset();
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(home.path());
    passwords.push_back("abc");
    startWith({"Mixed.VLT"});
    std::filesystem::current_path(previous);
    EXPECT_EQ(app->engine().ContainerPath, fromUtf8(file));
    EXPECT_EQ(app->engine().Recent.paths.front(), fromUtf8(file));
}

TEST_F(ShellFixture, EmptyOrMissingFilesOnTheCommandLineAreIgnored) {
    writeConfig("");
    test::writeFile(home.file("empty.vlt"), "");
    startWith({QString::fromStdString(home.file("empty.vlt"))});
    EXPECT_TRUE(passwordModes.empty());
    EXPECT_TRUE(prompter.prompts.empty());
    app.reset();
    startWith({QString::fromStdString(home.file("missing.vlt"))});
    EXPECT_TRUE(passwordModes.empty());
    EXPECT_TRUE(prompter.prompts.empty());
}

// A FIFO where the program keeps a file blocks a real open of it for good: start-up would never
// show the window, and the exit would never end.
TEST_F(ShellFixture, FifosInPlaceOfTheSettingsStopNeitherStartNorExit) {
    std::filesystem::create_directories(dataFolder());
    {
        test::Fifo config(configPath());
        test::Fifo recent(dataFolder() + "Recent.ini");
        test::Fifo besideProgram(home.file("bin/Config.ini"));
        startWith();
        EXPECT_EQ(app->paths().PortableMode, 0);  // only a regular file there makes it portable
        EXPECT_EQ(promptTexts(), QStringList{kFactoryMessage});
        EXPECT_TRUE(std::filesystem::is_regular_file(configPath()));
        EXPECT_TRUE(app->engine().Recent.paths.empty());
        EXPECT_TRUE(app->window().isVisible());
        EXPECT_FALSE(config.blocked());
        EXPECT_FALSE(recent.blocked());
        EXPECT_FALSE(besideProgram.blocked());
    }
    // One that takes the settings' place while the program runs is left alone at exit.
    std::filesystem::remove(configPath());
    test::Fifo config(configPath());
    app->window().dispatch(Command{10});
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_TRUE(std::filesystem::is_fifo(configPath()));
    EXPECT_FALSE(config.blocked());
}

TEST_F(ShellFixture, AFifoAsTheTraceLogIsReportedAndTheProgramRunsWithoutALog) {
    writeConfig("[MainSettings]\r\nLogActions = 1\r\n");
    test::Fifo log(dataFolder() + "VLT.log");
    startWith();
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].caption, "Warning");
    EXPECT_EQ(prompter.prompts[0].text,
              "Error creating log file at: \"" + QString::fromStdString(log.path()) + "\".");
    EXPECT_TRUE(app->window().isVisible());
    EXPECT_FALSE(app->engine().log.isOpen());
    app->window().dispatch(Command{10});
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_FALSE(log.blocked());
}

// A stored size beyond the desktop (hand-edited, or from a larger screen) would put the status
// bar and the comment view off screen, and every exit would store it again.
TEST_F(ShellFixture, AStoredSizeBeyondTheDesktopIsShrunkAndTheRealSizeIsStored) {
    writeConfig("[Window]\r\nMainWinW = 99999999\r\nMainWinH = 99999999\r\n");
    startWith();
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    MainWindow& window = app->window();
    EXPECT_LE(window.width(), desktop.width());
    EXPECT_LE(window.height(), desktop.height());
    EXPECT_TRUE(desktop.contains(window.frameGeometry()));
    const QRect statusBar(window.statusBar()->mapToGlobal(QPoint(0, 0)),
                          window.statusBar()->size());
    EXPECT_TRUE(desktop.contains(statusBar));

    const QSize shown = window.size();
    window.dispatch(Command{10});
    IniFile ini;
    ASSERT_TRUE(ini.load(configPath()));
    EXPECT_EQ(ini.readNumber(u"Window", u"MainWinW", 0), shown.width());
    EXPECT_EQ(ini.readNumber(u"Window", u"MainWinH", 0), shown.height());
}

// The start and the exit must agree on which corner the position names (the window's inside, not
// its frame), or the window creeps by its frame on every start.
TEST_F(ShellFixture, AWindowReopensWhereItWasClosed) {
    writeConfig("[Window]\r\nMainWinX = 120\r\nMainWinY = 90\r\n");
    for (int round = 0; round < 3; ++round) {
        startWith();
        EXPECT_EQ(app->window().geometry().topLeft(), QPoint(120, 90));
        app->window().dispatch(Command{10});
        app.reset();
        IniFile ini;
        ASSERT_TRUE(ini.load(configPath()));
        EXPECT_EQ(ini.readNumber(u"Window", u"MainWinX", 0), 120) << "round " << round;
        EXPECT_EQ(ini.readNumber(u"Window", u"MainWinY", 0), 90) << "round " << round;
    }
}

TEST(WindowPosition, StoredPositionsAreCheckedAgainstTheScreens) {
    const QList<QRect> screens{QRect(0, 0, 1920, 1080)};
    MainSettings m;
    m.MainWinW = 685;
    m.MainWinH = 450;
    m.MainWinX = 5000;
    m.MainWinY = 20;
    Application::CheckWindowPosition(m, screens);
    EXPECT_EQ(m.MainWinX, 0);
    EXPECT_EQ(m.MainWinY, 20);

    m.MainWinX = -300;  // partly visible: stays
    Application::CheckWindowPosition(m, screens);
    EXPECT_EQ(m.MainWinX, -300);

    m.MainWinX = -3000;  // wholly off every screen: back to centred
    Application::CheckWindowPosition(m, screens);
    EXPECT_EQ(m.MainWinX, -1);
    EXPECT_EQ(m.MainWinY, -1);

    m.MainWinX = 2000;  // on a second screen to the right
    m.MainWinY = 100;
    Application::CheckWindowPosition(m, {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)});
    EXPECT_EQ(m.MainWinX, 0);  // still clipped by the first screen's width, as before
}

}  // namespace
}  // namespace vlt
