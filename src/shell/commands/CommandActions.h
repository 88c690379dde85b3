#pragma once
// The items of the main window's menus, popups and toolbar: each carries a command number, is
// named "command<N>" for lookups, and reports its number when triggered. One CommandActions
// holds the items of one owner (the menu bar, the popups, the toolbar) and finds them by number.

#include <QAction>
#include <QIcon>
#include <QPointer>
#include <QString>
#include <functional>
#include <initializer_list>
#include <map>

class QMenu;
class QWidget;

namespace vlt {

// The icon column of a menu table: a MenuIcons index, or none.
inline constexpr int kNoIcon = -1;

// One line of a menu table: a command item, or a separator when `text` is null.
struct MenuLine {
    int id = 0;
    const char* text = nullptr;
    int icon = kNoIcon;
};
inline constexpr MenuLine kSeparatorLine{};

class CommandActions {
  public:
    // `send` is called with the item's number when an item is triggered, for as long as
    // `receiver` lives.
    CommandActions(QObject* receiver, std::function<void(int)> send);

    // A new item in `container` (a menu or a toolbar), owned by it.
    QAction* add(QWidget* container, int id, const QString& text, const QIcon& icon = {});
    // The items and separators of a table, in order; icons from MenuIcons.
    void addLines(QMenu* menu, std::initializer_list<MenuLine> lines);

    // The item with that number, or null.
    QAction* find(int id) const;
    // Marks the items first..last as check-mark items.
    void setCheckable(int first, int last);
    // Ignored for numbers without an item; likewise setEnabled.
    void setChecked(int id, bool checked);
    void setEnabled(int id, bool enabled);
    // Forgets every item (their owners delete them).
    void clear() { items_.clear(); }

  private:
    QObject* receiver_;
    std::function<void(int)> send_;
    std::map<int, QPointer<QAction>> items_;
};

}  // namespace vlt
