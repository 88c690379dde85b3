#pragma once
// The main window's toolbar: twelve buttons with icon and text, each reporting its command
// through `command`. The add, remove, move and clipboard buttons carry an arrow that
// opens the matching toolbar popup; their own number asks for nothing. GUI thread only.

#include <QToolBar>

#include "shell/commands/CommandActions.h"

class QToolButton;

namespace vlt {

class PopupMenus;

class MainToolbar : public QToolBar {
    Q_OBJECT

  public:
    // The drop-down arrows open popups 6 to 9 of `popups`, which must outlive the toolbar.
    explicit MainToolbar(const PopupMenus& popups, QWidget* parent = nullptr);

    // The button's item of that command, or null.
    QAction* item(Command command) const { return items_.find(command); }
    // The button showing that item, or null.
    QToolButton* button(Command command) const;
    // Greys the buttons of the commands this build does not carry out.
    void greyUnavailable() { items_.greyUnavailable(); }

  signals:
    void command(vlt::Command id);

  private:
    CommandActions items_;
};

}  // namespace vlt
