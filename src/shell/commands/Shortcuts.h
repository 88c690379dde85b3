#pragma once
// The main window's keyboard shortcuts, made from the key column of the command table. They
// belong to the main window alone (Qt::WindowShortcut), so plain Shift+letter keys never reach
// them from the text fields of other windows, and a text field inside the main window keeps the
// letters it is typed.

#include <functional>

#include "shell/commands/CommandTable.h"

class QWidget;

namespace vlt {

// Creates one QShortcut per key on `window`, named "shortcut<command number>-<key>" (e.g.
// "shortcut0-Ctrl+N"); each calls `dispatch` with its command.
void InstallMainShortcuts(QWidget* window, std::function<void(Command)> dispatch);

}  // namespace vlt
