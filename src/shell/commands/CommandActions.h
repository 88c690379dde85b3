#pragma once
// The items of the main window's menus, popups and toolbar: each carries a command, is named
// "command<N>" after its number for lookups, and reports its command when triggered. One
// CommandActions holds the items of one owner (the menu bar, the popups, the toolbar) and finds
// them by command.

#include <QAction>
#include <QIcon>
#include <QPointer>
#include <QString>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>

#include "shell/commands/CommandTable.h"

class QMenu;
class QWidget;

namespace vlt {

// One line of a menu layout: a command's item, or a separator.
struct MenuLine {
    constexpr MenuLine() = default;
    // Implicit, so that a layout reads as a list of commands.
    constexpr MenuLine(Command c) : command(c) {}
    std::optional<Command> command;
};
inline constexpr MenuLine kSeparator{};

class CommandActions {
  public:
    // `send` is called with the item's command when an item is triggered, for as long as
    // `receiver` lives.
    CommandActions(QObject* receiver, std::function<void(Command)> send);

    // A new item in `container` (a menu or a toolbar), owned by it, with the text, icon, tool tip
    // and check mark the table gives the command.
    QAction* add(QWidget* container, Command command);
    // A new item whose text and icon are not the table's (recent files, plugins).
    QAction* add(QWidget* container, Command command, const QString& text, const QIcon& icon);
    // The items and separators of a layout, in order.
    void addLines(QMenu* menu, std::initializer_list<MenuLine> lines);

    // The item of that command, or null.
    QAction* find(Command command) const;
    // Sets the check mark of every item that runs `call`.
    void setChecked(ActionCall call, bool checked);
    // Ignored for commands without an item.
    void setEnabled(Command command, bool enabled);
    // Greys the items of the commands this build does not carry out.
    void greyUnavailable();
    // Forgets every item (their owners delete them).
    void clear() { items_.clear(); }

  private:
    QObject* receiver_;
    std::function<void(Command)> send_;
    std::map<Command, QPointer<QAction>> items_;
};

}  // namespace vlt
