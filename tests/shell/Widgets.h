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

// Keys as a user types them: each goes to the widget that has the focus at that moment (the
// active window's); a failure when none has.
inline void typeInFocus(int key, const QString& text = {}) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    press(focus, key, text);
}
inline void typeInFocus(const QString& text) {
    for (const QChar c : text) {
        typeInFocus(Qt::Key_unknown, QString(c));
    }
}

}  // namespace vlt::test
