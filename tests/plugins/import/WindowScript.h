#pragma once
// Drives importer windows the way a user does, from timers on the GUI thread.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace vlt::import::test {

// Runs action once a visible top-level widget of that object name appears.
inline void when(const QString& name, std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, name, action] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == name && w->isVisible()) {
                timer->stop();
                timer->deleteLater();
                action(w);
                return;
            }
        }
    });
    timer->start();
}

inline void typePathAndImport(QWidget* window, const QString& path) {
    window->findChild<QLineEdit*>(QStringLiteral("path"))->setText(path);
    window->findChild<QPushButton*>(QStringLiteral("import"))->click();
}

// True once no importer window is left.
inline bool windowLeft() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("importerWindow")) {
            return false;
        }
    }
    return true;
}

}  // namespace vlt::import::test
