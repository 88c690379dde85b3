// The tray, the configuration window, help and the about box, driven through the main window's
// commands.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>

#include "FileAssociationCheck.h"
#include "ShellFixture.h"
#include "TempDir.h"
#include "Widgets.h"
#include "engine/settings/ConfigFile.h"
#include "engine/settings/IniFile.h"
#include "platform/Autostart.h"
#include "platform/FileAssociation.h"
#include "shell/app/IdleGuards.h"
#include "shell/commands/PopupMenus.h"
#include "shell/dialogs/AboutWindow.h"
#include "shell/dialogs/SettingsWindow.h"
#include "shell/main/TrayIcon.h"

namespace vlt {
namespace {

using test::child;
using test::press;

class TrayAndConfiguration : public test::ShellFixture {
  protected:
    MainWindow& start(const std::string& config = "[MainSettings]\r\nLogActions = 1\r\n") {
        writeConfig(config);
        startWith();
        return app->window();
    }
    std::string log() const { return test::readFile(dataFolder() + "VLT.log"); }
    // Runs `drive` on the configuration window once it is open, then the command.
    void configure(const std::function<void(SettingsWindow&)>& drive) {
        QTimer::singleShot(0, [drive] {
            auto* window = qobject_cast<SettingsWindow*>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr);
            drive(*window);
            if (window->isVisible()) {
                window->reject();
            }
        });
        app->window().dispatch(Command::Configuration);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
};

TEST_F(TrayAndConfiguration, TheTrayHidesAndRestoresTheWindowOrMinimisesWithoutANotificationArea) {
    MainWindow& window = start("[MainSettings]\r\nLogActions = 1\r\nMinSendTray = 1\r\n");
    TrayIcon& tray = *window.tray();
    tray.trayAvailable = [] { return true; };

    window.dispatch(Command::SendToTray);
    EXPECT_FALSE(window.isVisible());
    ASSERT_TRUE(tray.isShown());
    EXPECT_EQ(tray.icon()->toolTip(), "Orvelline Vaultwick");
    // A double click on the icon restores the window, and counts as use of the program.
    app->engine().AutoCloseState.IdleSeconds = 30;
    emit tray.icon()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(app->engine().AutoCloseState.IdleSeconds, 0);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
    // The icon goes once the window is really on the screen, not before: should the window
    // manager keep the window minimised, the icon is the only way back.
    EXPECT_TRUE(tray.isShown());
    QApplication::processEvents();
    EXPECT_FALSE(tray.isShown());
    window.dispatch(Command::SendToTray);
    window.dispatch(Command::TrayRestore);
    EXPECT_TRUE(window.isVisible());

    // Minimising with MinSendTray = 1 ends in the tray once the minimising is over.
    window.showMinimized();
    QApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(tray.isShown());
    tray.RestoreFromTray();
    QApplication::processEvents();
    EXPECT_FALSE(tray.isShown());
    // Restoring with no icon (after the boss key, say) still shows the window.
    window.hide();
    tray.RestoreFromTray();
    EXPECT_TRUE(window.isVisible());

    // No notification area: hidden, nothing could bring the window back; it is minimised.
    tray.trayAvailable = [] { return false; };
    window.dispatch(Command::SendToTray);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
    EXPECT_FALSE(tray.isShown());

    EXPECT_NE(log().find("RestoreFromTray() -> Systray icon found, removing\r\n"),
              std::string::npos);
}

TEST_F(TrayAndConfiguration, ApplyTakesEveryPageIntoEffectAndEscapeChangesNothing) {
    MainWindow& window = start();
    const std::string autostart = AutostartEntryPath();
    ASSERT_EQ(autostart.rfind(home.file("config"), 0), 0u);  // under the scratch home

    configure([](SettingsWindow& w) {
        // The page list shows one page at a time.
        child<QTreeWidget>(&w, "pageList")
            ->setCurrentItem(child<QTreeWidget>(&w, "pageList")->topLevelItem(2));
        EXPECT_FALSE(child<QWidget>(&w, "page0")->isVisible());
        EXPECT_TRUE(child<QWidget>(&w, "page2")->isVisible());
        child<QCheckBox>(&w, "drawGrid")->setChecked(true);
        child<QCheckBox>(&w, "autostart")->setChecked(true);
        child<QCheckBox>(&w, "recents")->setChecked(false);
        child<QComboBox>(&w, "bossKey1")->setCurrentIndex(1);
        child<QComboBox>(&w, "bossKey2")->setCurrentIndex(5);
        child<QCheckBox>(&w, "autoCloseContainer")->setChecked(true);
        // Return applies wherever the focus is.
        press(child<QCheckBox>(&w, "drawGrid"), Qt::Key_Return);
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_TRUE(window.entryList()->showGrid());
    EXPECT_NE(test::readFile(autostart).find(" -tray\n"), std::string::npos);
    EXPECT_TRUE(test::IsFileAssociationApplied(home.file("bin/VLT")));
    EXPECT_TRUE(app->idleGuards()->autoCloseRunning());
    const MainSettings& m = app->engine().settings.Main;
    EXPECT_EQ(m.Recents, 0);
    EXPECT_EQ(m.BossKey1, 1);
    EXPECT_EQ(m.BossKey2, 5);
    IniFile ini;
    ASSERT_TRUE(ini.load(configPath()));
    EXPECT_EQ(ini.readNumber(u"MainSettings", u"DrawGrid", 0), 1);
    EXPECT_EQ(ini.readNumber(u"MainSettings", u"BossKey2", 0), 5);

    configure([](SettingsWindow& w) {
        child<QCheckBox>(&w, "drawGrid")->setChecked(false);
        press(&w, Qt::Key_Escape);
    });
    EXPECT_TRUE(window.entryList()->showGrid());
    EXPECT_EQ(m.DrawGrid, 1);

    configure([](SettingsWindow& w) {
        child<QCheckBox>(&w, "autostart")->setChecked(false);
        child<QCheckBox>(&w, "associateVLT")->setChecked(false);
        child<QPushButton>(&w, "applyButton")->click();
    });
    EXPECT_FALSE(std::filesystem::exists(autostart));
    EXPECT_FALSE(test::IsFileAssociationApplied(home.file("bin/VLT")));

    // A confirmed Defaults closes the window without applying what it showed.
    prompter.answers.push_back(true);
    configure([](SettingsWindow& w) {
        child<QCheckBox>(&w, "drawGrid")->setChecked(false);
        child<QPushButton>(&w, "defaultsButton")->click();
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_FALSE(std::filesystem::exists(configPath()));
    EXPECT_TRUE(window.entryList()->showGrid());
    EXPECT_EQ(prompter.prompts.back().caption, "OK");
}

TEST_F(TrayAndConfiguration, TheWindowGreysWhatItsSwitchesTurnOffAndEditsColoursAndNumbers) {
    MainSettings s = FactorySettings().Main;
    s.EnableGroupBKColor = 1;
    s.GroupBKColor = 0x0000FF;  // red
    SettingsWindowServices services;
    services.portable = true;
    services.bossKeyAvailable = false;
    QColor offered;
    services.pickColor = [&offered](QWidget*, const QColor& start) {
        offered = start;
        return QColor(0, 128, 255);
    };
    SettingsWindow w(s, services);
    w.show();

    EXPECT_FALSE(child<QCheckBox>(&w, "associateVLT")->isEnabled());
    EXPECT_FALSE(child<QCheckBox>(&w, "enableBossKey")->isEnabled());
    EXPECT_TRUE(child<QCheckBox>(&w, "enableBossKey")->text().contains("unavailable"));
    EXPECT_FALSE(child<QComboBox>(&w, "bossKey1")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&w, "entryBackChoose")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(&w, "groupBackChoose")->isEnabled());
    auto* seconds = child<QSpinBox>(&w, "autoCloseSecs");
    EXPECT_FALSE(seconds->isEnabled());
    child<QCheckBox>(&w, "autoCloseContainer")->setChecked(true);
    EXPECT_TRUE(seconds->isEnabled());
    seconds->setValue(5000000);
    EXPECT_EQ(seconds->value(), SettingsWindow::kMaxNumber);

    child<QPushButton>(&w, "groupBackChoose")->click();
    EXPECT_EQ(offered, QColor(255, 0, 0));
    child<QCheckBox>(&w, "commentTextEnable")->setChecked(true);
    child<QPushButton>(&w, "commentTextChoose")->click();
    child<QPushButton>(&w, "commentTextReset")->click();  // back to black

    const MainSettings edited = w.edited(s);
    EXPECT_EQ(edited.GroupBKColor, 0xFF8000);  // 0x00BBGGRR
    EXPECT_EQ(edited.EnableCommentFGColor, 1);
    EXPECT_EQ(edited.CommentFGColor, 0);
    EXPECT_EQ(edited.AutoCloseContainer, 1);
    EXPECT_EQ(edited.AutoCloseSecs, 1000000);
    EXPECT_EQ(edited.AssociateVLT, s.AssociateVLT);  // greyed, never changed
}

TEST_F(TrayAndConfiguration, HelpOpensThePageBesideTheProgramAndTheAboutBoxTellsTheInstallation) {
    MainWindow& window = start();
    std::filesystem::create_directories(home.file("bin/help"));
    for (const char* page : {"Introduction.html", "ConfiguringVLT.html"}) {
        test::writeFile(home.file("bin/help/") + page, "<p>help</p>");
    }
    window.dispatch(Command::HelpContents);
    configure([](SettingsWindow& w) {
        QLabel* link = child<QLabel>(&w, "helpLink");
        emit link->linkActivated(QString());
    });
    // The group editor's link leads there too.
    QTimer::singleShot(0, [] {
        QWidget* editor = QApplication::activeModalWidget();
        ASSERT_NE(editor, nullptr);
        emit child<QLabel>(editor, "helpLink")->linkActivated(QString());
        press(editor, Qt::Key_Escape);
    });
    window.dispatch(Command::AddGroup);
    ASSERT_EQ(openedUrls.size(), 3);
    EXPECT_EQ(openedUrls[0],
              "file://" + QString::fromStdString(home.file("bin/help")) + "/Introduction.html");
    EXPECT_TRUE(openedUrls[1].endsWith("/bin/help/ConfiguringVLT.html"));
    EXPECT_EQ(openedUrls[2], openedUrls[1]);

    QTimer::singleShot(0, [] {
        QWidget* about = QApplication::activeModalWidget();
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->windowTitle(), "About VLT");
        child<QPushButton>(about, "websiteButton")->click();
        press(about, Qt::Key_Escape);
    });
    window.dispatch(Command::About);
    EXPECT_EQ(openedUrls.last(), AboutWindow::kHomePage);

    const std::uint64_t eightGiB = 8ULL << 30;
    EXPECT_TRUE(AboutWindow::aboutText(false, eightGiB).contains("\r\nVersion: 4.1\r\n\r\n"));
    const QString portable = AboutWindow::aboutText(true, eightGiB + 1048575);
    EXPECT_TRUE(portable.contains("\r\nVersion: 4.1 (portable)\r\n\r\n"));
    EXPECT_TRUE(portable.endsWith("\r\n\r\nTotal memory available: 8192MB"));
}

TEST_F(TrayAndConfiguration, AHiddenColumnCannotBeDraggedOpenOnlyShownAgainFromTheHeaderMenu) {
    MainWindow& window = start();
    window.dispatch(Command::ShowPasswordColumn);
    QHeaderView* header = window.entryList()->horizontalHeader();
    ASSERT_TRUE(header->isSectionHidden(kColPasswords));
    // Drag the divider where the hidden column sits to the right.
    const int edge = header->sectionViewportPosition(kColURLs);
    auto send = [header](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(x, 5), header->mapToGlobal(QPointF(x, 5)), Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(header->viewport(), &event);
    };
    send(QEvent::MouseButtonPress, edge, Qt::LeftButton);
    send(QEvent::MouseMove, edge + 60, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, edge + 60, Qt::NoButton);
    EXPECT_TRUE(header->isSectionHidden(kColPasswords));
    EXPECT_EQ(header->sectionSize(kColPasswords), 0);
    // The same drag on a shown column's divider does resize it.
    const int before = header->sectionSize(kColURLs);
    const int e2 = header->sectionViewportPosition(kColAttachments) - 1;
    send(QEvent::MouseButtonPress, e2, Qt::LeftButton);
    send(QEvent::MouseMove, e2 + 60, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, e2 + 60, Qt::NoButton);
    EXPECT_EQ(header->sectionSize(kColURLs), before + 60);

    // A right click on the header opens the column menu; its item shows the column again.
    QMenu* columns = window.popups()->popup(PopupMenus::kListHeaderPopup);
    bool shown = false;
    QTimer::singleShot(0, [columns, &shown] {
        shown = QApplication::activePopupWidget() == columns;
        columns->close();
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                            header->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(header->viewport(), &click);
    EXPECT_TRUE(shown);
    window.popups()->item(Command::HeaderPasswordColumn)->trigger();
    EXPECT_FALSE(header->isSectionHidden(kColPasswords));
    EXPECT_GT(header->sectionSize(kColPasswords), 0);
}

}  // namespace
}  // namespace vlt
