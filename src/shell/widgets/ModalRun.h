#pragma once
// Running a modal window the way every dialog of the program does: owned by the window that opened
// it, taken apart safely when its owner went meanwhile (a container closed under it by the
// auto-close), and handing the focus back to the owner afterwards; and the same focus hand-back
// for requesters that open their own windows.

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace vlt {

// The owner a modal window gets: `parent`, else the active window.
inline QPointer<QWidget> ModalOwner(QWidget* parent) {
    return parent != nullptr ? parent : QApplication::activeWindow();
}

// Runs `created` (made with `owner` as its parent) modally. `take(window, exec result)` reads what
// the window leaves behind before it is deleted; it is not called when the window was destroyed
// with its owner while it ran. A window with an owner blocks only its owner, so the tool windows
// plugins open meanwhile (the entry window's password generator) stay usable.
template <typename Window, typename Take>
void RunModal(const QPointer<QWidget>& owner, Window* created, Take take) {
    QPointer<Window> window = created;
    if (owner) {
        window->setWindowModality(Qt::WindowModal);
    }
    const int code = window->exec();
    if (window) {
        take(*window, code);
        delete window.data();
    }
    if (owner) {
        owner->activateWindow();
    }
}

// Runs `ask(owner)`, a requester that opens a window of its own (a file chooser), and hands the
// focus back to `owner` afterwards, as RunModal does: without a window manager nothing else
// would, and the keys typed next would go nowhere.
template <typename Ask>
auto RunRequester(QWidget* parent, Ask ask) {
    const QPointer<QWidget> owner = ModalOwner(parent);
    auto answer = ask(owner.data());
    if (owner) {
        owner->activateWindow();
    }
    return answer;
}

}  // namespace vlt
