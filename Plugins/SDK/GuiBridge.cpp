#include "GuiBridge.h"

#include <QCoreApplication>
#include <QDialog>
#include <QSemaphore>
#include <QThread>
#include <QTimer>

#include "PluginSDK.h"

namespace vlt::sdk {

void call(const std::function<void()>& fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() == app->thread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(app, fn, Qt::BlockingQueuedConnection);
}

void post(std::function<void()> fn) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(fn), Qt::QueuedConnection);
}

int runWindow(const std::function<QDialog*()>& make) {
    QSemaphore done;
    QDialog* window = nullptr;
    int result = QDialog::Rejected;
    call([&] {
        window = make();
        if (window == nullptr) {
            done.release();
            return;
        }
        QObject::connect(window, &QDialog::finished, window, [&result, &done](int code) {
            result = code;
            done.release();
        });
        auto* watch = new QTimer(window);
        QObject::connect(watch, &QTimer::timeout, window, [window] {
            if (Plugin_QuitRequested() != 0) {
                window->reject();
            }
        });
        watch->start(50);
        showWindow(window);
    });
    if (QThread::currentThread() == QCoreApplication::instance()->thread()) {
        // On the GUI thread itself (tests) the window is run by a nested loop instead.
        while (!done.tryAcquire()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
    } else {
        done.acquire();
    }
    call([window] { delete window; });
    // A barrier: whatever the window posted before it went has run before the plugin returns.
    call([] {});
    return result;
}

int execUntilQuit(QDialog& dialog) {
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &dialog, [&dialog] {
        if (Plugin_QuitRequested() != 0) {
            dialog.reject();
        }
    });
    watch.start(50);
    const int result = dialog.exec();
    returnFocus(dialog.parentWidget());
    return result;
}

void showWindow(QWidget* window) {
    window->show();
    if (!window->testAttribute(Qt::WA_ShowWithoutActivating) &&
        !window->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus)) {
        window->activateWindow();
    }
}

void returnFocus(QWidget* over) {
    if (over != nullptr) {
        over->window()->activateWindow();
    }
}

}  // namespace vlt::sdk
