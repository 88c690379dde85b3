// The idle guards' timers and the user events that restart the idle count.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "ScriptedDesktop.h"
#include "TraceCapture.h"
#include "engine/vault/Engine.h"
#include "shell/app/IdleGuards.h"

namespace vlt {
namespace {

TEST(IdleGuardTimers, EachStartsOnceWhenItsSettingIsOnAndInputRestartsTheIdleCount) {
    test::ScriptedDesktop desktop;
    Engine engine{desktop};
    engine.settings.Main.AutoClearClip = 1;
    engine.settings.Main.AutoCloseContainer = 0;
    IdleGuards guards(engine);
    test::TraceCapture trace(engine.log);
    guards.startEnabled();
    EXPECT_TRUE(guards.clipboardClearRunning());
    EXPECT_FALSE(guards.autoCloseRunning());
    // Switched on later (the configuration window's Apply), and again: one timer, one start.
    engine.settings.Main.AutoCloseContainer = 1;
    guards.startEnabled();
    guards.startEnabled();
    EXPECT_TRUE(guards.autoCloseRunning());
    const std::string lines = trace.lines();
    const std::string started = "Started autoclose container thread id: ";
    const std::size_t first = lines.find(started);
    EXPECT_NE(first, std::string::npos);
    EXPECT_EQ(lines.find(started, first + 1), std::string::npos);

    QWidget widget;
    engine.AutoCloseState.IdleSeconds = 42;
    QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
    EXPECT_EQ(engine.AutoCloseState.IdleSeconds, 42);  // the tick watches the mouse itself
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&widget, &key);
    EXPECT_EQ(engine.AutoCloseState.IdleSeconds, 0);
}

}  // namespace
}  // namespace vlt
