// Launching plugins on their threads, refusing what cannot run, and the quit walk at exit.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <chrono>
#include <filesystem>

#include "PluginFolder.h"
#include "ScriptedDesktop.h"
#include "engine/log/Logging.h"
#include "engine/vault/ID.h"
#include "host/PluginLaunchers.h"
#include "host/PluginList.h"
#include "qt/PumpUntil.h"

namespace vlt {
namespace {

using test::PluginFolder;
using test::pumpUntil;

// The visible top-level window of that object name.
QWidget* toolWindow(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String(name) && w->isVisible()) {
            return w;
        }
    }
    return nullptr;
}

QDialog* waitingToolWindow() {
    return qobject_cast<QDialog*>(toolWindow("waitingToolWindow"));
}

// Presses OK in the next message box that opens.
void answerNextMessage() {
    QTimer::singleShot(50, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->accept();
        }
    });
}

std::u16string clipboardText() {
    return QGuiApplication::clipboard()->text().toStdU16String();
}

// The value a progress bar had when it was last painted.
class PaintedValue : public QObject {
  public:
    explicit PaintedValue(QProgressBar* bar) { bar->installEventFilter(this); }
    int value = -1;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            value = static_cast<QProgressBar*>(watched)->value();
        }
        return false;
    }
};

class PluginLaunch : public ::testing::Test {
  protected:
    int load(const std::string& plugin) { return plugins.VLT_Plugin_Load(folder.add(plugin)); }

    PluginFolder folder;
    IdRegistry ids;
    TraceLog log;
    PluginList plugins{ids, log};
};

TEST_F(PluginLaunch, ToolRunsOnceAtATimeAndThreadsCountFromOne) {
    ASSERT_EQ(load("WaitingTool"), 1);
    ASSERT_EQ(VLT_Plugin_LaunchTool(plugins), 1);
    EXPECT_EQ(plugins.VLT_Plugin_GetThread(), 1);
    ASSERT_TRUE(pumpUntil([] { return waitingToolWindow() != nullptr; }));
    EXPECT_EQ(VLT_Plugin_LaunchTool(plugins), -3);

    waitingToolWindow()->reject();
    plugins.threads().waitFor(1);
    EXPECT_FALSE(plugins.threads().isRunning(1));
    ASSERT_EQ(VLT_Plugin_LaunchTool(plugins), 1);
    EXPECT_EQ(plugins.VLT_Plugin_GetThread(), 2);
    ASSERT_TRUE(pumpUntil([] { return waitingToolWindow() != nullptr; }));
    waitingToolWindow()->reject();
    plugins.threads().waitFor(2);
}

TEST_F(PluginLaunch, WrongTypeAndMissingEntryAreRefused) {
    ASSERT_EQ(load("NoEntryImporter"), 1);
    EXPECT_EQ(VLT_Plugin_LaunchTool(plugins), -4);
    EXPECT_EQ(VLT_Plugin_LaunchPreview(plugins, {1, 2}), -4);
    ASSERT_EQ(load("NoEntryTool"), 1);
    EXPECT_EQ(VLT_Plugin_LaunchTool(plugins), -2);
    EXPECT_EQ(plugins.VLT_Plugin_GetThread(), -1);
}

TEST_F(PluginLaunch, PasswordGeneratorIsTheToolOfThatExactName) {
    test::ScriptedDesktop desktop;
    LaunchPasswordGenerator(plugins, desktop);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, u"VLT could not find any tool plugins installed.");

    // An importer of that name comes first and is passed over; the tool after it is launched
    // (and has no entry export).
    ASSERT_EQ(load("NoEntryImporter"), 1);
    ASSERT_EQ(load("WaitingTool"), 1);
    ASSERT_EQ(load("NoEntryTool"), 1);
    plugins.VLT_Plugin_Select(1);
    LaunchPasswordGenerator(plugins, desktop);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[1].text,
              u"Could not find the 'Plugin_Start' function in the plugin, launch failed.");
    EXPECT_EQ(plugins.VLT_Plugin_GetCurrent(), 1);
    EXPECT_EQ(plugins.VLT_Plugin_GetThread(), -1);
}

TEST_F(PluginLaunch, QuitWalkWaitsOnlyForPluginsThatCanQuit) {
    ASSERT_EQ(load("Unsignalled"), 1);
    ASSERT_EQ(VLT_Plugin_LaunchTool(plugins), 1);
    const std::int32_t stubborn = plugins.VLT_Plugin_GetThread();
    ASSERT_EQ(load("WaitingTool"), 1);
    ASSERT_EQ(VLT_Plugin_LaunchTool(plugins), 1);
    const std::int32_t tool = plugins.VLT_Plugin_GetThread();
    ASSERT_TRUE(pumpUntil([] { return waitingToolWindow() != nullptr; }));

    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(plugins.VLT_Plugin_SendQuitSignal(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_FALSE(plugins.threads().isRunning(tool));
    EXPECT_EQ(waitingToolWindow(), nullptr);
    EXPECT_TRUE(plugins.threads().isRunning(stubborn));

    auto release =
        reinterpret_cast<void (*)()>(::dlsym(plugins.records()[0].Handle, "Test_Release"));
    ASSERT_NE(release, nullptr);
    release();
    plugins.threads().waitFor(stubborn);
}

// A signalled plugin that does not end: the walk waits its patience, asks by the plugin's name
// whether to wait again, and on No gives it up and goes on to signal and wait for the next.
TEST_F(PluginLaunch, QuitWalkAsksAboutAPluginThatDoesNotEndAndMayGiveItUp) {
    ASSERT_EQ(load("QuitIgnored"), 1);
    ASSERT_EQ(VLT_Plugin_LaunchTool(plugins), 1);
    const std::int32_t deaf = plugins.VLT_Plugin_GetThread();
    ASSERT_EQ(load("WaitingTool"), 1);
    ASSERT_EQ(VLT_Plugin_LaunchTool(plugins), 1);
    ASSERT_TRUE(pumpUntil([] { return waitingToolWindow() != nullptr; }));

    int askedAboutDeaf = 0;
    plugins.quitWait.patience = std::chrono::milliseconds(100);
    plugins.quitWait.keepWaiting = [&](const std::u16string& name) {
        // Only the deaf tool is given up, at its second question; a slow window is waited for.
        return name != u"Deaf tool" || ++askedAboutDeaf < 2;
    };
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(plugins.VLT_Plugin_SendQuitSignal(), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(200));
    EXPECT_EQ(askedAboutDeaf, 2);
    EXPECT_EQ(waitingToolWindow(), nullptr);
    EXPECT_TRUE(plugins.threads().isRunning(deaf));
    EXPECT_TRUE(plugins.threads().anyRunning());

    auto release =
        reinterpret_cast<void (*)()>(::dlsym(plugins.records()[0].Handle, "Test_Release"));
    ASSERT_NE(release, nullptr);
    release();
    plugins.threads().waitFor(deaf);
    EXPECT_FALSE(plugins.threads().anyRunning());
}

TEST(ToolPlugins, GeneratorButtonAnalyzerAndPreviewerRunAsTheHostLaunchesThem) {
    IdRegistry ids;
    TraceLog log;
    PluginList plugins{ids, log};
    for (const char* name : {"Dicebox", "Gaugebox", "Peekpane"}) {
        ASSERT_EQ(plugins.VLT_Plugin_Load(std::string(VLT_TOOL_PLUGIN_DIR) + "/" + name + ".so"),
                  1);
        EXPECT_EQ(plugins.records().back().IconImage.size(), QSize(16, 16)) << name;
    }
    EXPECT_EQ(plugins.records()[0].Name, u"Password generator");
    EXPECT_EQ(plugins.records()[2].Type, Previewer);

    // The entry window's button finds the generator by its name and starts it; its first
    // password is there, 32 characters of the classes that start switched on.
    test::ScriptedDesktop desktop;
    LaunchPasswordGenerator(plugins, desktop);
    EXPECT_TRUE(desktop.messages.empty());
    ASSERT_TRUE(pumpUntil([] { return toolWindow("diceboxWindow") != nullptr; }));
    const QString password =
        toolWindow("diceboxWindow")->findChild<QLineEdit*>(QStringLiteral("password"))->text();
    EXPECT_EQ(password.size(), 32);
    const QString allowed = QStringLiteral(
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!\"#$%&':;<=>?@\\^_`|~()[]{"
        "}");
    for (const QChar c : password) {
        EXPECT_TRUE(allowed.contains(c)) << static_cast<int>(c.unicode());
    }

    plugins.VLT_Plugin_Select(1);
    ASSERT_EQ(VLT_Plugin_LaunchTool(plugins), 1);
    ASSERT_TRUE(pumpUntil([] { return toolWindow("gaugeboxWindow") != nullptr; }));
    QWidget* gauge = toolWindow("gaugeboxWindow");
    gauge->findChild<QLineEdit*>(QStringLiteral("password"))->setText(QStringLiteral("Password1!"));
    EXPECT_EQ(gauge->findChild<QLabel*>(QStringLiteral("verdict"))->text(),
              QStringLiteral("The password is strong (72 points)"));
    EXPECT_EQ(gauge->findChild<QProgressBar*>(QStringLiteral("bar"))->value(), 72);

    plugins.VLT_Plugin_Select(2);
    const std::string rtf = "{\\rtf1 {\\b Bold} caf\\'e9}\r\n";
    ASSERT_EQ(VLT_Plugin_LaunchPreview(plugins, {rtf.begin(), rtf.end()}), 1);
    ASSERT_TRUE(pumpUntil([] { return toolWindow("peekpaneWindow") != nullptr; }));
    QWidget* preview = toolWindow("peekpaneWindow");
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Preview Text Plugin (VLT)  - RTF Mode"));
    auto* editor = preview->findChild<QTextEdit*>();
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("Bold caf\u00E9"));
    // The document's own fonts stay; wrapping goes off and on again.
    EXPECT_FALSE(preview->findChild<QAction*>(QStringLiteral("changeFont"))->isEnabled());
    QAction* wrap = preview->findChild<QAction*>(QStringLiteral("wordWrap"));
    wrap->trigger();
    EXPECT_EQ(editor->lineWrapMode(), QTextEdit::NoWrap);
    wrap->trigger();
    EXPECT_EQ(editor->lineWrapMode(), QTextEdit::WidgetWidth);

    EXPECT_EQ(plugins.VLT_Plugin_SendQuitSignal(), 0);
    EXPECT_EQ(toolWindow("diceboxWindow"), nullptr);
    EXPECT_EQ(toolWindow("gaugeboxWindow"), nullptr);
    EXPECT_EQ(toolWindow("peekpaneWindow"), nullptr);
}

// Copies of the tool plugins that come with VLT: fresh instances, whose quit flags no earlier
// test's quit has set.
class FreshTools : public ::testing::Test {
  protected:
    int load(const std::string& name) {
        const std::string copy = folder.file(name + ".so");
        std::filesystem::copy_file(std::string(VLT_TOOL_PLUGIN_DIR) + "/" + name + ".so", copy);
        return plugins.VLT_Plugin_Load(copy);
    }
    // Launches the selected tool and waits for its window; null when it does not come.
    QWidget* launch(const char* window) {
        if (VLT_Plugin_LaunchTool(plugins) != 1 ||
            !pumpUntil([window] { return toolWindow(window) != nullptr; })) {
            return nullptr;
        }
        return toolWindow(window);
    }

    PluginFolder folder;
    IdRegistry ids;
    TraceLog log;
    PluginList plugins{ids, log};
};

TEST_F(FreshTools, WhatTheUserCopiedSurvivesTheToolsWipingTheirFields) {
    ASSERT_EQ(load("Dicebox"), 1);
    ASSERT_EQ(load("Gaugebox"), 1);

    // Copied, then a new password made, then the window closed: the clipboard keeps the copy.
    plugins.VLT_Plugin_Select(0);
    QWidget* generator = launch("diceboxWindow");
    ASSERT_NE(generator, nullptr);
    auto* password = generator->findChild<QLineEdit*>(QStringLiteral("password"));
    const std::u16string generated = password->text().toStdU16String();
    ASSERT_EQ(generated.size(), 32u);
    answerNextMessage();
    generator->findChild<QPushButton*>(QStringLiteral("copy"))->click();
    EXPECT_EQ(clipboardText(), generated);
    generator->findChild<QPushButton*>(QStringLiteral("create"))->click();
    EXPECT_NE(password->text().toStdU16String(), generated);
    EXPECT_EQ(clipboardText(), generated);
    generator->findChild<QPushButton*>(QStringLiteral("close"))->click();
    ASSERT_TRUE(pumpUntil([] { return toolWindow("diceboxWindow") == nullptr; }));
    EXPECT_EQ(clipboardText(), generated);

    // The analyzer's field copied by hand (unmasked), then cleared.
    plugins.VLT_Plugin_Select(1);
    QWidget* gauge = launch("gaugeboxWindow");
    ASSERT_NE(gauge, nullptr);
    auto* field = gauge->findChild<QLineEdit*>(QStringLiteral("password"));
    field->setEchoMode(QLineEdit::Normal);
    field->setText(QString::fromLatin1("Password1!"));
    field->selectAll();
    field->copy();
    gauge->findChild<QPushButton*>(QStringLiteral("clear"))->click();
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(clipboardText(), u"Password1!");
    EXPECT_EQ(gauge->findChild<QProgressBar*>(QStringLiteral("bar"))->value(), 0);

    EXPECT_EQ(plugins.VLT_Plugin_SendQuitSignal(), 0);
    EXPECT_EQ(clipboardText(), u"Password1!");
}

TEST_F(FreshTools, AnalyzerBarIsPaintedAtThePointsItsLabelShows) {
    ASSERT_EQ(load("Gaugebox"), 1);
    QWidget* gauge = launch("gaugeboxWindow");
    ASSERT_NE(gauge, nullptr);
    auto* field = gauge->findChild<QLineEdit*>(QStringLiteral("password"));
    auto* bar = gauge->findChild<QProgressBar*>(QStringLiteral("bar"));
    auto* verdict = gauge->findChild<QLabel*>(QStringLiteral("verdict"));
    PaintedValue painted(bar);

    // Scores 4 points apart (72, 76, 86, 90), each painted as it is shown; and the clear
    // button's 0.
    for (const char* text : {"Password1!", "Password1!a", "Password1!abc", "Password1!abcd"}) {
        field->setText(QString::fromLatin1(text));
        ASSERT_TRUE(pumpUntil([&] { return painted.value == bar->value(); })) << text;
        EXPECT_TRUE(verdict->text().contains(QStringLiteral("(%1 points)").arg(bar->value())));
    }
    gauge->findChild<QPushButton*>(QStringLiteral("clear"))->click();
    ASSERT_TRUE(pumpUntil([&] { return painted.value == 0; }));

    EXPECT_EQ(plugins.VLT_Plugin_SendQuitSignal(), 0);
}

TEST_F(FreshTools, ALargeRtfPreviewIsReadOffTheGuiThreadAndOpensAtTheTop) {
    ASSERT_EQ(load("Peekpane"), 1);
    std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Courier New;}}";
    for (int line = 0; line < 40000; ++line) {
        rtf += "{\\b line} " + std::to_string(line) + " of a long {\\i formatted} text\\par\n";
    }
    rtf += "}";

    // The GUI thread keeps turning while the document is read: its longest pause is a small
    // part of the time the window takes to come.
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longestPause = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        longestPause = std::max(longestPause, clock.elapsed() - last);
        last = clock.elapsed();
    });
    beat.start(5);
    ASSERT_EQ(VLT_Plugin_LaunchPreview(plugins, {rtf.begin(), rtf.end()}), 1);
    // Sanitizer builds on a busy machine read the document many times slower than a user's.
    ASSERT_TRUE(pumpUntil([] { return toolWindow("peekpaneWindow") != nullptr; }, 60000));
    const qint64 shown = clock.elapsed();
    beat.stop();
    EXPECT_LT(longestPause, shown / 3) << "window after " << shown << " ms";

    auto* editor = toolWindow("peekpaneWindow")->findChild<QTextEdit*>();
    ASSERT_TRUE(pumpUntil([&] { return editor->verticalScrollBar()->maximum() > 0; }, 60000));
    EXPECT_TRUE(editor->toPlainText().startsWith(QStringLiteral("line 0 of a long formatted")));
    EXPECT_EQ(editor->textCursor().position(), 0);
    EXPECT_EQ(editor->verticalScrollBar()->value(), 0);

    EXPECT_EQ(plugins.VLT_Plugin_SendQuitSignal(), 0);
}

TEST_F(FreshTools, QuitWhileAToolAsksAQuestionTakesBothDown) {
    ASSERT_EQ(load("Gaugebox"), 1);
    ASSERT_NE(launch("gaugeboxWindow"), nullptr);

    // The hide/show question is open when the program quits: the quit closes the window, the
    // question with it, and the button's handler returns without touching either.
    bool quitSent = false;
    QTimer::singleShot(100, [&] {
        ASSERT_NE(QApplication::activeModalWidget(), nullptr);
        plugins.VLT_Plugin_SendQuitSignal();
        quitSent = true;
    });
    toolWindow("gaugeboxWindow")->findChild<QPushButton*>(QStringLiteral("mask"))->click();
    EXPECT_TRUE(quitSent);
    EXPECT_EQ(toolWindow("gaugeboxWindow"), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace vlt
