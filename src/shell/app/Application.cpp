#include "shell/app/Application.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <filesystem>

#include "common/AsciiCase.h"
#include "common/Trim.h"
#include "common/Utf.h"
#include "engine/Version.h"
#include "engine/container/Container.h"
#include "engine/session/Help.h"
#include "engine/settings/ConfigFile.h"
#include "engine/view/OpenLink.h"
#include "host/PluginList.h"
#include "platform/CoreDumps.h"
#include "platform/FileAssociation.h"
#include "shell/app/AttachmentServices.h"
#include "shell/app/IdleGuards.h"
#include "shell/app/PluginShell.h"
#include "shell/app/QtDesktop.h"
#include "shell/app/QtText.h"
#include "shell/main/MainWindow.h"
#include "shell/main/TrayIcon.h"
#include "shell/widgets/IconCatalog.h"
#include "shell/widgets/ProgramIcon.h"
#include "shell/widgets/UiFonts.h"

#ifndef VLT_BUILD_TIME
#define VLT_BUILD_TIME "unknown"
#endif

namespace vlt {

Application::Application(std::string programFile, Prompter& prompter)
    : programFile_(std::move(programFile)),
      desktop_(std::make_unique<QtDesktop>(prompter)),
      engine_(std::make_unique<Engine>(*desktop_)),
      plugins_(std::make_unique<PluginList>(engine_->ids, engine_->log)),
      pluginShell_(std::make_unique<PluginShell>(*plugins_, *engine_, pluginFolder())) {
    openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    desktop_->endProgram = [this](int code) {
        (plugins_->threads().anyRunning() ? endAtOnce : endProcess)(code);
    };
    desktop_->openUrl = [this](const QUrl& url) { return openUrl(url); };
    desktop_->openLink = [this](const std::u16string& shown, const std::u16string& url) {
        OpenLink(*engine_, shown, url);
    };
    desktop_->showHelp = [this](const QString& topic) {
        RunHelp(*engine_, u16s(topic), paths_.ProgramFolder);
    };
    desktop_->tools = pluginShell_.get();
    desktop_->quitPlugins = [this] { plugins_->VLT_Plugin_SendQuitSignal(); };
    plugins_->quitWait.keepWaiting = [this](const std::u16string& plugin) {
        return desktop_->AskYesNo(u"Please confirm",
                                  u"The plugin \"" + plugin +
                                      u"\" has not ended after the quit signal. Would you like to "
                                      u"keep waiting for it? Choose No to end VLT anyway.",
                                  MessageIcon::Question);
    };
    desktop_->generatePassword = [this] { pluginShell_->launchPasswordGenerator(); };
    desktop_->attachments = BindAttachmentServices(*engine_, *plugins_);
}

std::string Application::pluginFolder() const {
    return (std::filesystem::path(programFile_).parent_path() / "Plugins").string();
}

Application::~Application() {
    // The window refers to the engine and the desktop to the window: take them down in order.
    desktop_->attach(nullptr);
    window_.reset();
}

void Application::CheckWindowPosition(MainSettings& settings, const QList<QRect>& screens) {
    if (screens.isEmpty()) {
        return;
    }
    const QRect first = screens.first();
    if (settings.MainWinX > first.width()) {
        settings.MainWinX = 0;
    }
    if (settings.MainWinY > first.height()) {
        settings.MainWinY = 0;
    }
    if (settings.MainWinX == -1 || settings.MainWinY == -1) {
        return;
    }
    // A window that no screen shows at all could never be reached: forget its position.
    const QRect window(settings.MainWinX, settings.MainWinY, std::max(1, settings.MainWinW),
                       std::max(1, settings.MainWinH));
    for (const QRect& screen : screens) {
        if (screen.intersects(window)) {
            return;
        }
    }
    settings.MainWinX = -1;
    settings.MainWinY = -1;
}

void Application::CheckWindowSize(MainSettings& settings, const QRect& available) {
    if (available.isEmpty()) {
        return;
    }
    settings.MainWinW = std::min(settings.MainWinW, available.width());
    settings.MainWinH = std::min(settings.MainWinH, available.height());
}

void Application::startLog() {
    Engine& e = *engine_;
    if (e.settings.Main.LogActions != 1) {
        return;
    }
    if (e.log.Log_Open(paths_.LogPath) == 0) {
        e.desktop.Message(u"Warning",
                          u"Error creating log file at: \"" + fromUtf8(paths_.LogPath) + u"\".",
                          MessageIcon::Warning);
        return;
    }
    e.log.Log_Banner(std::u16string(u"Orvelline Vaultwick v.") + kProgramVersion);
    e.log.Trace(u"Program compiled on: " + fromUtf8(VLT_BUILD_TIME));
    e.log.Trace(u"Compiled with GCC-compatible C++20 and Qt " + fromUtf8(qVersion()));
    e.log.Trace(u"Compiled with ThreadSafe");
    e.log.Trace(u"Compiled with Unicode");
}

bool Application::start(const QStringList& arguments) {
    Engine& e = *engine_;
    auto trace = [&e](std::u16string_view message) { e.log.Trace(message); };

    // Before any password is typed or any container read.
    disableCoreDumps();
    QApplication::setFont(UiFonts::normal());
    QApplication::setWindowIcon(ProgramIcon());
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName).section(u'.', 0, 0));
    paths_ = ChooseProgramPaths(programFile_);
    ReadConfig(e.settings, e.desktop, paths_.ConfigPath, e.writer);
    e.ConfigPath = paths_.ConfigPath;
    e.Recent = RecentFiles(paths_.RecentPath);
    e.Recent.read();
    QList<QRect> screens;
    for (QScreen* screen : QGuiApplication::screens()) {
        screens << screen->geometry();
    }
    CheckWindowPosition(e.settings.Main, screens);
    startLog();

    // The images are compiled into the program; touching each table loads it.
    (void)MenuIcon(0);
    (void)GroupIcon(0);
    (void)ButtonIcon(0);

    trace(u"Loading plugins");
    plugins_->VLT_Plugin_LoadFolder(pluginFolder());
    trace(u"Done loading plugins");

    trace(u"Opening main window");
    // The clearing and auto-close timers first: they tick only once the event loop runs (or a
    // container named on the command line asks for its password), by then with a window.
    idleGuards_ = std::make_unique<IdleGuards>(e);
    idleGuards_->startEnabled();
    // The window traces the steps of its own building.
    window_ = std::make_unique<MainWindow>(e);
    window_->setPlugins(pluginShell_.get());
    window_->setProgram(programFile_, paths_);
    window_->CreateMainMenu();
    desktop_->attach(window_.get());
    window_->setWindowTitle(qs(NoContainerTitle()));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        // The frame the desktop puts around the window must fit as well; it is known once the
        // native window exists.
        window_->winId();
        const QWindow* handle = window_->windowHandle();
        const QMargins frame = handle != nullptr ? handle->frameMargins() : QMargins();
        CheckWindowSize(e.settings.Main, screen->availableGeometry().marginsRemoved(frame));
    }
    window_->resize(e.settings.Main.MainWinW, e.settings.Main.MainWinH);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect whole = window_->frameGeometry();  // centred with its frame
        whole.moveCenter(screen->availableGeometry().center());
        window_->move(whole.topLeft());
    }

    trace(u"Applying settings to the gadgets");
    window_->applySettings();

    handleCommandLine(arguments);
    applyWindowSettings();
    window_->startIdleGuards = [this] { idleGuards_->startEnabled(); };
    // Using the tray icon is using the program.
    QObject::connect(window_->tray(), &TrayIcon::used, window_.get(),
                     [this] { engine_->AutoCloseState.IdleSeconds = 0; });
    trace(u"Showing window");
    if (trayAtStart_) {
        trace(u"Sending program to systray");
        window_->tray()->SendToTray();
    } else {
        window_->show();
    }
    return true;
}

void Application::handleCommandLine(const QStringList& arguments) {
    Engine& e = *engine_;
    const QString first = arguments.isEmpty() ? QString() : arguments.first();
    // Only "-tray" is compared without case: paths on this system are case-sensitive.
    const std::u16string trimmed(trimBlanks(u16s(first)));
    e.log.Trace(u"Program parameter: " + lowerAscii(trimmed));
    if (trimmed.empty()) {
        return;
    }
    if (lowerAscii(trimmed) == u"-tray") {
        trayAtStart_ = true;
        return;
    }
    const QFileInfo file(qs(trimmed));
    if (file.isFile() && file.size() > 0) {
        // Kept absolute, so the recent-files list still finds it from another folder.
        OpenContainer(e, u16s(file.absoluteFilePath()));
    }
}

void Application::applyWindowSettings() {
    const MainSettings& m = engine_->settings.Main;
    engine_->log.Trace(u"Applying window settings");
    if (m.MainWinX != -1 && m.MainWinY != -1 && m.RememberWinPos == 1) {
        window_->restorePosition(QPoint(m.MainWinX, m.MainWinY));
    }
    if (m.AlwaysOnTop == 1) {
        window_->setStayOnTop(true);
    }
}

}  // namespace vlt
