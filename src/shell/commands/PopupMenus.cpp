#include "shell/commands/PopupMenus.h"

#include <QMenu>

namespace vlt {

PopupMenus::PopupMenus(const std::array<ColumnSetting, kColumnCount>& columns, QWidget* menuParent,
                       QObject* parent)
    : QObject(parent), items_(this, [this](Command id) { emit command(id); }) {
    using enum Command;
    QMenu* groups = newPopup(kGroupsPopup, menuParent);
    items_.addLines(groups, {TreeAddGroup, TreeRemoveGroup, TreeEditGroup, kSeparator});
    auto* arrange = new QMenu(QStringLiteral("Arrange group"), groups);
    arrange->setObjectName(QStringLiteral("popup1Arrange"));
    groups->addMenu(arrange);
    items_.addLines(arrange,
                    {TreeMoveGroupUp, TreeMoveGroupDown, TreeMoveGroupLeft, TreeMoveGroupRight});
    items_.addLines(groups, {kSeparator, TreeExpandGroup, TreeCollapseGroup});

    items_.addLines(
        newPopup(kTimePopup, menuParent),
        {TimeNow, kSeparator, TimeOneWeek, TimeTwoWeeks, kSeparator, TimeOneMonth, TimeTwoMonths,
         TimeSixMonths, kSeparator, TimeOneYear, TimeTwoYears, TimeThreeYears});

    items_.addLines(newPopup(kListHeaderPopup, menuParent),
                    {HeaderAccountColumn, HeaderUserNameColumn, HeaderPasswordColumn,
                     HeaderUrlColumn, HeaderAttachmentColumn, kSeparator, HeaderCreatedColumn,
                     HeaderAccessedColumn, HeaderModifiedColumn, HeaderExpiresColumn});
    for (int k = 0; k < kColumnCount; ++k) {
        items_.setChecked({Action::ToggleColumn, k},
                          columns[static_cast<std::size_t>(k)].Show == 1);
    }

    items_.addLines(
        newPopup(kEntriesPopup, menuParent),
        {ListAddEntry, ListRemoveEntry, ListEditEntry, kSeparator, ListSelectAll, ListMassModify,
         kSeparator, ListCopyUserName, ListCopyPassword, ListCopyUrl, ListCopyComment, kSeparator,
         ListOpenUrl, ListSaveAttachments, kSeparator, ListMoveEntryUp, ListMoveEntryDown});

    items_.addLines(newPopup(kTrayPopup, menuParent), {TrayRestore, TrayExit});
    items_.addLines(newPopup(kToolbarAddPopup, menuParent), {ToolbarAddGroup, ToolbarAddEntry});
    items_.addLines(newPopup(kToolbarRemovePopup, menuParent),
                    {ToolbarRemoveGroup, ToolbarRemoveEntry});
    items_.addLines(newPopup(kToolbarMovePopup, menuParent),
                    {ToolbarMoveGroupUp, ToolbarMoveGroupDown, ToolbarMoveGroupLeft,
                     ToolbarMoveGroupRight, kSeparator, ToolbarMoveEntryUp, ToolbarMoveEntryDown});
    items_.addLines(newPopup(kToolbarClipboardPopup, menuParent),
                    {ToolbarCopyAccount, ToolbarCopyUserName, ToolbarCopyPassword, ToolbarCopyUrl,
                     ToolbarCopyComment});
}

PopupMenus::~PopupMenus() {
    // Menus with a parent window may already be gone with it; the others are ours to delete.
    for (QPointer<QMenu>& menu : popups_) {
        delete menu.data();
    }
}

QMenu* PopupMenus::newPopup(int number, QWidget* menuParent) {
    auto* menu = new QMenu(menuParent);
    menu->setObjectName(QStringLiteral("popup%1").arg(number));
    popups_[static_cast<std::size_t>(number)] = menu;
    return menu;
}

QMenu* PopupMenus::popup(int number) const {
    if (number < 1 || number >= static_cast<int>(popups_.size())) {
        return nullptr;
    }
    return popups_[static_cast<std::size_t>(number)].data();
}

void ApplyEntryPopupRules(PopupMenus& popups, bool hasCurrentRow, int rowCount, int selectedCount) {
    using enum Command;
    popups.setEnabled(ListAddEntry, true);
    for (Command c : {ListRemoveEntry, ListEditEntry, ListSelectAll, ListMassModify,
                      ListCopyUserName, ListCopyPassword, ListCopyUrl, ListCopyComment, ListOpenUrl,
                      ListSaveAttachments, ListMoveEntryUp, ListMoveEntryDown}) {
        popups.setEnabled(c, hasCurrentRow);
    }
    if (rowCount > 0) {
        const bool single = selectedCount == 1;
        for (Command c : {ListRemoveEntry, ListEditEntry, ListCopyUserName, ListCopyPassword,
                          ListCopyUrl, ListCopyComment, ListOpenUrl, ListSaveAttachments,
                          ListMoveEntryUp, ListMoveEntryDown}) {
            popups.setEnabled(c, single);
        }
    }
}

void ApplyGroupPopupRules(PopupMenus& popups, int selectedTreeItem) {
    using enum Command;
    popups.setEnabled(TreeAddGroup, true);
    const bool group = selectedTreeItem > 0;
    for (Command c : {TreeRemoveGroup, TreeEditGroup, TreeMoveGroupUp, TreeMoveGroupDown,
                      TreeMoveGroupLeft, TreeMoveGroupRight}) {
        popups.setEnabled(c, group);
    }
    popups.setEnabled(TreeExpandGroup, selectedTreeItem >= 0);
    popups.setEnabled(TreeCollapseGroup, selectedTreeItem >= 0);
    // Nothing in "Arrange group" applies without a group: grey the submenu itself too.
    QMenu* groups = popups.popup(PopupMenus::kGroupsPopup);
    if (auto* arrange =
            groups ? groups->findChild<QMenu*>(QStringLiteral("popup1Arrange")) : nullptr) {
        arrange->menuAction()->setEnabled(group);
    }
}

}  // namespace vlt
