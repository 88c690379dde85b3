#pragma once
// Plugin entry exports run on a host thread, but windows live on the GUI thread. These carry
// work across: a plugin builds, shows and deletes its windows inside call().

#include <QDialog>
#include <functional>

namespace vlt::sdk {

// Runs fn on the GUI thread and returns when it is done (at once when already there).
void call(const std::function<void()>& fn);
// Queues fn for the GUI thread and returns.
void post(std::function<void()> fn);
// Builds a window with make() on the GUI thread, shows it modeless and waits on this thread
// until it is finished or, within about 100 ms, until the quit signal has arrived; then deletes
// it. Returns the window's result (QDialog::Rejected after a quit or when make() gave nothing).
int runWindow(const std::function<QDialog*()>& make);
// Shows a plugin's window and gives it the keyboard focus, unless the window asks never to take
// it (the on-screen keyboard). Window managers do not all focus a new window by themselves.
void showWindow(QWidget* window);
// Runs `dialog` (a question or message over a plugin window) modally on the GUI thread; the quit
// signal closes it unanswered. Returns its result.
int execUntilQuit(QDialog& dialog);
// Gives the keyboard focus back to the window a dialog was opened over. Window managers differ
// in where the focus goes when a dialog closes; Return and Escape must reach the window again.
void returnFocus(QWidget* over);

}  // namespace vlt::sdk
