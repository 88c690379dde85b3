#pragma once
// Runs the event loop until a condition holds, for what other threads or queued calls finish.

#include <QApplication>
#include <QElapsedTimer>

namespace vlt::test {

// True once cond() holds; false when it still does not after `milliseconds`.
template <typename Cond>
bool pumpUntil(Cond cond, int milliseconds = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!cond() && clock.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return cond();
}

}  // namespace vlt::test
