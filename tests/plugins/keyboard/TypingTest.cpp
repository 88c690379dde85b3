// The keyboard typing into another window, under an X server started for the test (Xvfb, with
// xdotool for the mouse). Skipped where either is missing.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "KeyTable.h"
#include "PluginABI.h"
#include "qt/PumpUntil.h"

// Last: Xlib's macros (None, Bool, Status) would break the headers above.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

extern char** environ;

namespace tapboard {
namespace {

using vlt::test::pumpUntil;

bool onPath(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// An X server of the test's own on a display number it picks itself, and the application on it.
class XServer : public ::testing::Environment {
  public:
    static inline std::string skipReason;
    static inline QApplication* app = nullptr;

    void SetUp() override {
        if (!onPath("Xvfb") || !onPath("xdotool")) {
            skipReason = "Xvfb or xdotool is not installed";
            return;
        }
        int fds[2];
        if (pipe(fds) != 0) {
            skipReason = "no pipe";
            return;
        }
        const std::string displayFd = std::to_string(fds[1]);
        const char* argv[] = {"Xvfb",      "-displayfd", displayFd.c_str(),
                              "-screen",   "0",          "800x600x24",
                              "-nolisten", "tcp",        nullptr};
        if (posix_spawnp(&pid_, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
            pid_ = -1;
        }
        close(fds[1]);
        std::string number;
        pollfd wait{fds[0], POLLIN, 0};
        char c = 0;
        while (pid_ > 0 && poll(&wait, 1, 10000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') {
            number += c;
        }
        close(fds[0]);
        if (number.empty()) {
            skipReason = "Xvfb did not start";
            return;
        }
        setenv("DISPLAY", (":" + number).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        // The private server has no session bus; without an address, D-Bus would try to start
        // one through the X server and never free what it read there.
        setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
        static int argc = 1;
        static char name[] = "keyboard_x11_tests";
        static char* args[] = {name, nullptr};
        app = new QApplication(argc, args);
    }

    void TearDown() override {
        delete app;
        app = nullptr;
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

  private:
    pid_t pid_ = -1;
};

QWidget* keyboardWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("tapboardWindow") && w->isVisible()) {
            return w;
        }
    }
    return nullptr;
}

void clickAt(const QPoint& global) {
    const std::string command = "xdotool mousemove --sync " + std::to_string(global.x()) + " " +
                                std::to_string(global.y()) + " click 1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

QRect keyRect(int number) {
    const KeyDef& key = KeyTable()[static_cast<std::size_t>(number)];
    return {key.X, key.Y, KindWidth(key.Kind), kKeyHeight};
}

void clickKey(QWidget* keyboard, int number) {
    clickAt(keyboard->mapToGlobal(keyRect(number).center()));
}

QImage keyFace(QWidget* keyboard, int number) {
    return keyboard->grab(keyRect(number)).toImage();
}

// A pressed key has its dark edge at the top left.
bool shownDown(QWidget* keyboard, int number) {
    const QImage face = keyFace(keyboard, number);
    return qGray(face.pixel(0, 0)) < qGray(face.pixel(face.width() - 1, face.height() - 1));
}

// The keyboard plugin, loaded and started on a thread as the host does it.
class RunningKeyboard {
  public:
    explicit RunningKeyboard(const std::string& path = TAPBOARD_PLUGIN) {
        // The host loads a plugin through its open descriptor, under a name that is not its path
        // (and never twice the same name, as the loader would give back the library it named).
        static int unusedNumber = 100;
        const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        const int fd = fcntl(file, F_DUPFD_CLOEXEC, unusedNumber++);
        close(file);
        library_ = dlopen(("/proc/self/fd/" + std::to_string(fd)).c_str(), RTLD_NOW | RTLD_LOCAL);
        close(fd);
        if (library_ == nullptr) {
            ADD_FAILURE() << dlerror();
            return;
        }
        auto start = reinterpret_cast<Plugin_Start_Fn>(dlsym(library_, "Plugin_Start"));
        quit_ = reinterpret_cast<Plugin_QuitSignal_Fn>(dlsym(library_, "Plugin_QuitSignal"));
        thread_ = std::thread([this, start] {
            start();
            finished_ = true;
        });
    }
    ~RunningKeyboard() {
        if (thread_.joinable()) {
            EXPECT_TRUE(pumpUntil([this] { return finished_.load(); }));
            thread_.join();
        }
        if (library_ != nullptr) {
            dlclose(library_);
        }
    }
    void quit() { quit_(); }
    bool finished() const { return finished_; }

  private:
    void* library_ = nullptr;
    Plugin_QuitSignal_Fn quit_ = nullptr;
    std::thread thread_;
    std::atomic<bool> finished_{false};
};

// What the X server itself says about the keyboard.
class ServerKeyboard {
  public:
    ServerKeyboard() : display_(XOpenDisplay(nullptr)) {}
    ~ServerKeyboard() {
        if (display_ != nullptr) {
            XCloseDisplay(display_);
        }
    }
    bool isDown(KeySym keysym) {
        char keys[32] = {};
        XQueryKeymap(display_, keys);
        const KeyCode code = XKeysymToKeycode(display_, keysym);
        return (keys[code / 8] >> (code % 8)) & 1;
    }
    bool anyKeyDown() {
        char keys[32] = {};
        XQueryKeymap(display_, keys);
        for (char byte : keys) {
            if (byte != 0) {
                return true;
            }
        }
        return false;
    }
    bool capsLocked() {
        XkbStateRec state{};
        XkbGetState(display_, XkbUseCoreKbd, &state);
        return (state.locked_mods & LockMask) != 0;
    }
    void fake(KeySym keysym, bool down) {
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, keysym), down, CurrentTime);
        XSync(display_, False);
    }

  private:
    Display* display_;
};

class Typing : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!XServer::skipReason.empty()) {
            GTEST_SKIP() << XServer::skipReason;
        }
        target = std::make_unique<QWidget>();
        target->setWindowTitle(QStringLiteral("Another program"));
        auto* layout = new QVBoxLayout(target.get());
        edit = new QLineEdit;
        layout->addWidget(edit);
        target->setGeometry(40, 40, 300, 60);
        target->show();
        ASSERT_TRUE(pumpUntil([this] { return target->isVisible(); }));
    }

    // Clicks into the line edit so that it has the X input focus.
    void focusEdit() {
        clickAt(edit->mapToGlobal(edit->rect().center()));
        ASSERT_TRUE(pumpUntil([this] { return edit->hasFocus() && target->isActiveWindow(); }));
    }

    // Another top-level window with a line edit, standing for another program.
    std::unique_ptr<QWidget> target;
    QLineEdit* edit = nullptr;
};

QMessageBox* messageBox() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

// Without a display to send keys to, the keyboard says so instead of opening a silent window.
TEST_F(Typing, WithoutAnXDisplayTheKeyboardSaysItCannotSendKeys) {
    const std::string display = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    RunningKeyboard run;
    QMessageBox* box = nullptr;
    ASSERT_TRUE(pumpUntil([&] { return (box = messageBox()) != nullptr; }));
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Error"));
    EXPECT_TRUE(box->text().contains(QStringLiteral("cannot send keys")));
    EXPECT_EQ(keyboardWindow(), nullptr);
    box->accept();
    EXPECT_TRUE(pumpUntil([&] { return run.finished(); }));
    EXPECT_EQ(keyboardWindow(), nullptr);
}

// The layouts file is looked for beside the plugin itself; without it the keyboard does not
// start.
TEST_F(Typing, WithoutItsLayoutsFileBesideItTheKeyboardDoesNotStart) {
    const std::filesystem::path folder =
        std::filesystem::path(testing::TempDir()) / ("tapboard-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(TAPBOARD_PLUGIN, folder / "Tapboard.so",
                               std::filesystem::copy_options::overwrite_existing);
    {
        RunningKeyboard run((folder / "Tapboard.so").string());
        QMessageBox* box = nullptr;
        ASSERT_TRUE(pumpUntil([&] { return (box = messageBox()) != nullptr; }));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Fatal error"));
        EXPECT_EQ(box->text(), QStringLiteral("Could not load the 'KBLayouts.ini' file."));
        EXPECT_EQ(keyboardWindow(), nullptr);
        box->accept();
    }
    std::filesystem::remove_all(folder);
}

// Every key is framed on all four sides by its own face: along the window's edge a key's
// outermost dark line melts into the window frame, and the space bar has no label to show where
// it lies.
TEST_F(Typing, EveryKeyShowsItsOwnFrameOnAllFourSides) {
    RunningKeyboard run;
    QWidget* keyboard = nullptr;
    ASSERT_TRUE(pumpUntil([&] { return (keyboard = keyboardWindow()) != nullptr; }));
    for (const KeyDef& key : KeyTable()) {
        const QImage face = keyFace(keyboard, key.Number);
        const int inside = qGray(face.pixel(3, 3));  // clear of the label
        EXPECT_LT(qGray(face.pixel(face.width() - 2, 2)), inside) << key.Number << ": right";
        EXPECT_LT(qGray(face.pixel(3, face.height() - 2)), inside) << key.Number << ": bottom";
        EXPECT_GT(qGray(face.pixel(0, 2)), qGray(face.pixel(face.width() - 1, 2))) << key.Number;
    }
    keyboard->close();
    ASSERT_TRUE(pumpUntil([&] { return run.finished(); }));
}

TEST_F(Typing, KeysTypeIntoTheFocusedWindowAndModifiersAreReleasedOnEveryWayOut) {
    ServerKeyboard server;
    {
        RunningKeyboard run;
        QWidget* keyboard = nullptr;
        ASSERT_TRUE(pumpUntil([&] { return (keyboard = keyboardWindow()) != nullptr; }));
        EXPECT_EQ(keyboard->windowTitle(), QStringLiteral("Tapboard Plugin (VLT) (English (US))"));
        // The plugin's icon file decodes: transparent corner, dark frame.
        const QImage icon = keyboard->windowIcon().pixmap(16, 16).toImage();
        ASSERT_EQ(icon.size(), QSize(16, 16));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
        EXPECT_EQ(icon.pixel(0, 3), qRgb(0x40, 0x40, 0x40));
        focusEdit();

        clickKey(keyboard, 46);
        EXPECT_TRUE(pumpUntil([&] { return edit->text() == QStringLiteral("a"); }))
            << edit->text().toStdString();
        const QImage lower = keyFace(keyboard, 46);

        // Shift stays down for the next key, and the labels follow it.
        clickKey(keyboard, 60);
        EXPECT_TRUE(pumpUntil([&] { return shownDown(keyboard, 60); }));
        EXPECT_TRUE(server.isDown(XK_Shift_L));
        EXPECT_NE(keyFace(keyboard, 46), lower);
        clickKey(keyboard, 46);
        clickKey(keyboard, 14);
        EXPECT_TRUE(pumpUntil([&] { return edit->text() == QStringLiteral("aA!"); }))
            << edit->text().toStdString();
        clickKey(keyboard, 60);
        EXPECT_TRUE(pumpUntil([&] { return !shownDown(keyboard, 60); }));
        EXPECT_FALSE(server.isDown(XK_Shift_L));
        EXPECT_EQ(keyFace(keyboard, 46), lower);

        // Caps Lock is one press and release each way, and locks in the server.
        clickKey(keyboard, 45);
        EXPECT_TRUE(pumpUntil([&] { return server.capsLocked() && shownDown(keyboard, 45); }));
        EXPECT_FALSE(server.isDown(XK_Caps_Lock));
        clickKey(keyboard, 46);
        EXPECT_TRUE(pumpUntil([&] { return edit->text() == QStringLiteral("aA!A"); }))
            << edit->text().toStdString();
        clickKey(keyboard, 45);
        EXPECT_TRUE(pumpUntil([&] { return !server.capsLocked() && !shownDown(keyboard, 45); }));

        // Keys without a character go through the fixed key table.
        clickKey(keyboard, 26);
        EXPECT_TRUE(pumpUntil([&] { return edit->text() == QStringLiteral("aA!"); }))
            << edit->text().toStdString();

        // A key held with the mouse comes up again when the mouse leaves the window.
        const QPoint key = keyboard->mapToGlobal(keyRect(47).center());
        ASSERT_EQ(std::system(("xdotool mousemove --sync " + std::to_string(key.x()) + " " +
                               std::to_string(key.y()) + " mousedown 1")
                                  .c_str()),
                  0);
        EXPECT_TRUE(pumpUntil([&] { return shownDown(keyboard, 47); }));
        ASSERT_EQ(std::system("xdotool mousemove --sync 5 590"), 0);
        EXPECT_TRUE(pumpUntil([&] { return !shownDown(keyboard, 47); }));
        ASSERT_EQ(std::system("xdotool mouseup 1"), 0);
        EXPECT_TRUE(pumpUntil([&] { return edit->text() == QStringLiteral("aA!s"); }));
        clickKey(keyboard, 26);

        // The keyboard never took the focus from the line edit.
        EXPECT_TRUE(target->isActiveWindow());
        EXPECT_FALSE(keyboard->isActiveWindow());

        // Closing the window with Ctrl and Alt held on screen lets go of both.
        clickKey(keyboard, 75);
        clickKey(keyboard, 77);
        EXPECT_TRUE(
            pumpUntil([&] { return server.isDown(XK_Control_L) && server.isDown(XK_Alt_L); }));
        keyboard->close();
        ASSERT_TRUE(pumpUntil([&] { return run.finished(); }));
        EXPECT_FALSE(server.anyKeyDown());
    }

    // Started while the real Shift is held: shown down at once, nothing sent. Ending by the quit
    // signal still lets go of what the keyboard itself pressed.
    server.fake(XK_Shift_L, true);
    {
        RunningKeyboard run;
        QWidget* keyboard = nullptr;
        ASSERT_TRUE(pumpUntil([&] { return (keyboard = keyboardWindow()) != nullptr; }));
        EXPECT_TRUE(shownDown(keyboard, 60));
        server.fake(XK_Shift_L, false);
        EXPECT_TRUE(pumpUntil([&] { return !shownDown(keyboard, 60); }));
        EXPECT_EQ(edit->text(), QStringLiteral("aA!"));

        clickKey(keyboard, 75);
        EXPECT_TRUE(pumpUntil([&] { return server.isDown(XK_Control_L); }));
        run.quit();
        ASSERT_TRUE(pumpUntil([&] { return run.finished(); }));
        EXPECT_FALSE(server.anyKeyDown());
    }
}

}  // namespace
}  // namespace tapboard

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new tapboard::XServer);
    return RUN_ALL_TESTS();
}
