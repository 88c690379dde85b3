#pragma once
// The program's start-up: folders, settings, recent files, the trace log, the images, the main
// window and the command line, in that order, then the window is shown.

#include <QCoreApplication>
#include <QList>
#include <QRect>
#include <QStringList>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "engine/vault/Engine.h"
#include "platform/DataFolder.h"

namespace vlt {

class IdleGuards;
class MainWindow;
class Prompter;
class QtDesktop;
class PluginList;
class PluginShell;

class Application {
  public:
    // `programFile` is the path of the running program (its folder decides portable mode).
    Application(std::string programFile, Prompter& prompter);
    ~Application();

    // Everything before the event loop. False when the program must end at once.
    bool start(const QStringList& arguments);

    Engine& engine() { return *engine_; }
    QtDesktop& desktop() { return *desktop_; }
    MainWindow& window() { return *window_; }
    PluginList& plugins() { return *plugins_; }
    // The clipboard clearing and auto-close timers; null before start().
    IdleGuards* idleGuards() { return idleGuards_.get(); }
    const ProgramPaths& paths() const { return paths_; }
    bool trayAtStart() const { return trayAtStart_; }

    // How the program ends after the exit sequence (tests record it instead).
    std::function<void(int code)> endProcess = [](int code) { QCoreApplication::exit(code); };
    // How it ends while a plugin's thread still runs (one the user gave up waiting for, or one
    // without a quit signal): at once, everything that matters written by then. The normal way
    // out would destroy the objects that thread may still use and unload its code under it.
    std::function<void(int code)> endAtOnce = [](int code) {
        std::fflush(nullptr);
        std::_Exit(code);
    };
    // How a link is handed to the user's browser or mail program (tests record it instead).
    std::function<bool(const QUrl& url)> openUrl;

    // Moves a stored window position that lies wholly off every screen back to centred, and
    // clips a left or top edge past the first screen to 0.
    static void CheckWindowPosition(MainSettings& settings, const QList<QRect>& screens);
    // Shrinks a stored size larger than the desktop's free area to that area: a window taller
    // than the desktop hides its status bar and comment view, and the exit would store the size
    // again.
    static void CheckWindowSize(MainSettings& settings, const QRect& available);

  private:
    // "Plugins" beside the program.
    std::string pluginFolder() const;
    void startLog();
    void handleCommandLine(const QStringList& arguments);
    void applyWindowSettings();

    std::string programFile_;
    ProgramPaths paths_;
    std::unique_ptr<QtDesktop> desktop_;
    std::unique_ptr<Engine> engine_;
    std::unique_ptr<PluginList> plugins_;
    std::unique_ptr<PluginShell> pluginShell_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<IdleGuards> idleGuards_;
    bool trayAtStart_ = false;
};

}  // namespace vlt
