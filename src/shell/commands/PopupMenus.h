#pragma once
// The popup menus of the main window, built once at start-up and numbered 1 to 9: the group
// tree's (1), the time periods of the entry and mass-modify windows (2), the list header's
// column choice (3), the entry list's (4), the tray icon's (5) and the four toolbar drop-downs
// (6 add, 7 remove, 8 move, 9 clipboard). Every item reports its command through `command`.
// GUI thread only.

#include <QObject>
#include <QPointer>
#include <array>

#include "engine/settings/Settings.h"
#include "shell/commands/CommandActions.h"

class QMenu;
class QWidget;

namespace vlt {

class PopupMenus : public QObject {
    Q_OBJECT

  public:
    static constexpr int kGroupsPopup = 1;
    static constexpr int kTimePopup = 2;
    static constexpr int kListHeaderPopup = 3;
    static constexpr int kEntriesPopup = 4;
    static constexpr int kTrayPopup = 5;
    static constexpr int kToolbarAddPopup = 6;
    static constexpr int kToolbarRemovePopup = 7;
    static constexpr int kToolbarMovePopup = 8;
    static constexpr int kToolbarClipboardPopup = 9;

    // The list-header items start checked for the shown columns. The menus are child windows of
    // `menuParent` when given.
    explicit PopupMenus(const std::array<ColumnSetting, kColumnCount>& columns,
                        QWidget* menuParent = nullptr, QObject* parent = nullptr);
    ~PopupMenus() override;

    // Popup 1..9, or null for another number.
    QMenu* popup(int number) const;
    // The popup item of that command, or null.
    QAction* item(Command command) const { return items_.find(command); }
    // Sets the check mark of the items that run `call`.
    void setChecked(ActionCall call, bool checked) { items_.setChecked(call, checked); }
    // Ignored for commands without an item.
    void setEnabled(Command command, bool enabled) { items_.setEnabled(command, enabled); }
    // Greys the items of the commands this build does not carry out.
    void greyUnavailable() { items_.greyUnavailable(); }

  signals:
    void command(vlt::Command id);

  private:
    QMenu* newPopup(int number, QWidget* menuParent);

    CommandActions items_;
    std::array<QPointer<QMenu>, 10> popups_;  // index 0 unused
};

// Greys the entry-list popup's items for the list's state at a right click: the items that act
// on the selection need a current row, and those that act on one entry need exactly one
// selected row.
void ApplyEntryPopupRules(PopupMenus& popups, bool hasCurrentRow, int rowCount, int selectedCount);

// Greys the group popup's items for the tree item selected at a right click: -1 none, 0 the
// container's root item, more for a group. Adding a group is always possible; the root can only
// be expanded or collapsed.
void ApplyGroupPopupRules(PopupMenus& popups, int selectedTreeItem);

}  // namespace vlt
