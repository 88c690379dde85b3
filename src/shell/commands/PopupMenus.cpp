#include "shell/commands/PopupMenus.h"

#include <QMenu>

namespace vlt {

PopupMenus::PopupMenus(const std::array<ColumnSetting, kColumnCount>& columns, QWidget* menuParent,
                       QObject* parent)
    : QObject(parent), items_(this, [this](int id) { emit command(id); }) {
    QMenu* groups = newPopup(kGroupsPopup, menuParent);
    items_.addLines(groups, {{70, "Add Group\tCtrl+Shift+A", 10},
                             {71, "Remove Group\tCtrl+Shift+R", 11},
                             {72, "Edit Group\tCtrl+Shift+E", 12},
                             kSeparatorLine});
    auto* arrange = new QMenu(QStringLiteral("Arrange group"), groups);
    arrange->setObjectName(QStringLiteral("popup1Arrange"));
    groups->addMenu(arrange);
    items_.addLines(arrange, {{73, "Move Up\tCtrl+Up", 29},
                              {74, "Move Down\tCtrl+Down", 30},
                              {75, "Move Left\tCtrl+Left", 31},
                              {76, "Move Right\tCtrl+Right", 32}});
    items_.addLines(groups, {kSeparatorLine, {77, "Expand", 33}, {78, "Collapse", 34}});

    items_.addLines(newPopup(kTimePopup, menuParent), {{116, "Now"},
                                                       kSeparatorLine,
                                                       {117, "1 week"},
                                                       {118, "2 weeks"},
                                                       kSeparatorLine,
                                                       {119, "1 month"},
                                                       {120, "2 months"},
                                                       {121, "6 months"},
                                                       kSeparatorLine,
                                                       {122, "1 year"},
                                                       {123, "2 years"},
                                                       {124, "3 years"}});

    items_.addLines(newPopup(kListHeaderPopup, menuParent), {{95, "Account"},
                                                             {96, "User name"},
                                                             {97, "Password"},
                                                             {98, "URL"},
                                                             {99, "Attachments"},
                                                             kSeparatorLine,
                                                             {100, "Created"},
                                                             {101, "Accessed"},
                                                             {102, "Modified"},
                                                             {103, "Expires"}});
    items_.setCheckable(95, 103);
    for (int k = 0; k < kColumnCount; ++k) {
        items_.setChecked(95 + k, columns[static_cast<std::size_t>(k)].Show == 1);
    }

    items_.addLines(newPopup(kEntriesPopup, menuParent),
                    {{82, "Add New Entry\tCtrl+A", 13},
                     {83, "Remove Selected Entry\tCtrl+R", 14},
                     {84, "Edit/View Selected Entry\tCtrl+E", 15},
                     kSeparatorLine,
                     {85, "Select All Entries", 16},
                     {86, "Mass Modify Entries\tCtrl+M", 28},
                     kSeparatorLine,
                     {87, "Copy User Name", 18},
                     {88, "Copy Password", 19},
                     {89, "Copy URL", 20},
                     {90, "Copy Comment", 21},
                     kSeparatorLine,
                     {91, "Open URL", 26},
                     {92, "Save Attachment(s)", 27},
                     kSeparatorLine,
                     {93, "Move Up\tShift+Up", 29},
                     {94, "Move Down\tShift+Down", 30}});

    items_.addLines(newPopup(kTrayPopup, menuParent),
                    {{125, "&Restore VLT", 35}, {126, "&Exit", 9}});
    items_.addLines(newPopup(kToolbarAddPopup, menuParent),
                    {{127, "&Group", 10}, {128, "&Entry", 13}});
    items_.addLines(newPopup(kToolbarRemovePopup, menuParent),
                    {{129, "&Group", 11}, {130, "&Entry", 14}});
    items_.addLines(newPopup(kToolbarMovePopup, menuParent), {{131, "&Group up", 29},
                                                              {132, "&Group down", 30},
                                                              {133, "&Group left", 31},
                                                              {134, "&Group right", 32},
                                                              kSeparatorLine,
                                                              {135, "&Entry up", 29},
                                                              {136, "&Entry down", 30}});
    items_.addLines(newPopup(kToolbarClipboardPopup, menuParent), {{137, "&Copy account", 17},
                                                                   {138, "&Copy user name", 18},
                                                                   {139, "&Copy password", 19},
                                                                   {140, "&Copy URL", 20},
                                                                   {141, "&Copy comment", 21}});
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
    popups.setEnabled(82, true);
    for (int id = 83; id <= 94; ++id) {
        popups.setEnabled(id, hasCurrentRow);
    }
    if (rowCount > 0) {
        const bool single = selectedCount == 1;
        for (int id : {83, 84, 87, 88, 89, 90, 91, 92, 93, 94}) {
            popups.setEnabled(id, single);
        }
    }
}

void ApplyGroupPopupRules(PopupMenus& popups, int selectedTreeItem) {
    popups.setEnabled(70, true);
    const bool group = selectedTreeItem > 0;
    for (int id = 71; id <= 76; ++id) {
        popups.setEnabled(id, group);
    }
    popups.setEnabled(77, selectedTreeItem >= 0);
    popups.setEnabled(78, selectedTreeItem >= 0);
    // Nothing in "Arrange group" applies without a group: grey the submenu itself too.
    QMenu* groups = popups.popup(PopupMenus::kGroupsPopup);
    if (auto* arrange =
            groups ? groups->findChild<QMenu*>(QStringLiteral("popup1Arrange")) : nullptr) {
        arrange->menuAction()->setEnabled(group);
    }
}

}  // namespace vlt
