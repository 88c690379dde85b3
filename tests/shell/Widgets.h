#pragma once
// Driving windows in tests: their controls by object name, and keys pressed on them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace vlt::test {

// The control of that object name inside `window`; a failure when there is none.
template <typename T = QWidget>
T* child(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline void press(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &event);
}

}  // namespace vlt::test
