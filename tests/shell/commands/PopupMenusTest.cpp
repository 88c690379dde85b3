// The main window's popup menus and the rules that grey their items at a right click.
#include <gtest/gtest.h>

#include <QWidget>
#include <memory>

#include "CommandLayout.h"
#include "shell/commands/PopupMenus.h"
#include "shell/widgets/IconCatalog.h"

namespace vlt {
namespace {

using test::commandLayout;
using test::sameIcon;
using Layout = std::vector<std::string>;

std::array<ColumnSetting, kColumnCount> noColumns() {
    return {};
}

// The numbers in first..last whose items are enabled.
std::vector<int> enabledItems(const PopupMenus& popups, int first, int last) {
    std::vector<int> ids;
    for (int id = first; id <= last; ++id) {
        if (popups.item(Command{id})->isEnabled()) {
            ids.push_back(id);
        }
    }
    return ids;
}

TEST(PopupMenus, BuilderPlacesSubmenuSeparatorsTextsAndIcons) {
    PopupMenus popups(noColumns());
    for (int n = 1; n <= 9; ++n) {
        ASSERT_NE(popups.popup(n), nullptr) << n;
        EXPECT_EQ(popups.popup(n)->objectName(), QStringLiteral("popup%1").arg(n));
    }
    EXPECT_EQ(popups.popup(0), nullptr);
    EXPECT_EQ(popups.popup(10), nullptr);

    // One popup in full: the separators and the submenu come out where the table puts them.
    EXPECT_EQ(commandLayout(popups.popup(1)),
              (Layout{"70", "71", "72", "-", ">popup1Arrange", "-", "77", "78"}));
    auto* arrange = popups.popup(1)->findChild<QMenu*>(QStringLiteral("popup1Arrange"));
    ASSERT_NE(arrange, nullptr);
    EXPECT_EQ(commandLayout(arrange), (Layout{"73", "74", "75", "76"}));

    QAction* add = popups.item(Command{70});
    EXPECT_EQ(add->text(), QStringLiteral("Add Group\tCtrl+Shift+A"));
    EXPECT_TRUE(sameIcon(add->icon(), MenuIcon(10)));
    EXPECT_TRUE(popups.item(Command{97})->icon().isNull());
    EXPECT_EQ(popups.item(Command{79}), nullptr);
    // Key labels are only shown; the window's own shortcuts do the work.
    for (int n = 1; n <= 9; ++n) {
        for (QAction* action : popups.popup(n)->findChildren<QAction*>()) {
            EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
        }
    }
}

TEST(PopupMenus, HeaderItemsStartCheckedForShownColumns) {
    std::array<ColumnSetting, kColumnCount> columns{};
    columns[kColUserNames].Show = 1;
    columns[kColURLs].Show = 1;
    columns[kColModificationDates].Show = 1;
    PopupMenus popups(columns);
    std::vector<int> checked;
    for (int id = 95; id <= 103; ++id) {
        EXPECT_TRUE(popups.item(Command{id})->isCheckable()) << id;
        if (popups.item(Command{id})->isChecked()) {
            checked.push_back(id);
        }
    }
    EXPECT_EQ(checked, (std::vector<int>{96, 98, 102}));
    EXPECT_FALSE(popups.item(Command{82})->isCheckable());

    popups.setChecked({Action::ToggleColumn, kColAccounts}, true);
    popups.setChecked({Action::ToggleColumn, kColUserNames}, false);
    EXPECT_TRUE(popups.item(Command{95})->isChecked());
    EXPECT_FALSE(popups.item(Command{96})->isChecked());
}

TEST(PopupMenus, TriggeredItemsReportTheirNumbers) {
    PopupMenus popups(noColumns());
    std::vector<int> commands;
    QObject::connect(&popups, &PopupMenus::command,
                     [&](Command id) { commands.push_back(CommandNumber(id)); });
    popups.item(Command{74})->trigger();
    popups.item(Command{131})->trigger();
    popups.popup(5)->actions().back()->trigger();
    EXPECT_EQ(commands, (std::vector<int>{74, 131, 126}));
}

TEST(PopupMenus, MenusOwnedByAWindowThatGoesFirst) {
    auto window = std::make_unique<QWidget>();
    PopupMenus popups(noColumns(), window.get());
    EXPECT_EQ(popups.popup(4)->parentWidget(), window.get());
    window.reset();
    EXPECT_EQ(popups.popup(4), nullptr);
    EXPECT_EQ(popups.item(Command{82}), nullptr);
}

TEST(EntryPopupRules, TwoSelectedRowsLeaveOnlyTheListWideItems) {
    PopupMenus popups(noColumns());
    ApplyEntryPopupRules(popups, true, 5, 2);
    EXPECT_EQ(enabledItems(popups, 82, 94), (std::vector<int>{82, 85, 86}));
}

TEST(EntryPopupRules, OneSelectedCurrentRowEnablesEverything) {
    PopupMenus popups(noColumns());
    ApplyEntryPopupRules(popups, true, 5, 2);
    ApplyEntryPopupRules(popups, true, 5, 1);
    EXPECT_EQ(enabledItems(popups, 82, 94),
              (std::vector<int>{82, 83, 84, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94}));
}

TEST(EntryPopupRules, EmptyListOrNoCurrentRowLeavesOnlyAdd) {
    PopupMenus popups(noColumns());
    ApplyEntryPopupRules(popups, false, 0, 0);
    EXPECT_EQ(enabledItems(popups, 82, 94), (std::vector<int>{82}));
    ApplyEntryPopupRules(popups, true, 4, 1);
    ApplyEntryPopupRules(popups, false, 4, 0);
    EXPECT_EQ(enabledItems(popups, 82, 94), (std::vector<int>{82}));
}

TEST(GroupPopupRules, GroupRootAndNothing) {
    PopupMenus popups(noColumns());
    QAction* arrange =
        popups.popup(1)->findChild<QMenu*>(QStringLiteral("popup1Arrange"))->menuAction();

    ApplyGroupPopupRules(popups, 3);
    EXPECT_EQ(enabledItems(popups, 70, 78), (std::vector<int>{70, 71, 72, 73, 74, 75, 76, 77, 78}));
    EXPECT_TRUE(arrange->isEnabled());

    ApplyGroupPopupRules(popups, 0);
    EXPECT_EQ(enabledItems(popups, 70, 78), (std::vector<int>{70, 77, 78}));
    EXPECT_FALSE(arrange->isEnabled());

    ApplyGroupPopupRules(popups, -1);
    EXPECT_EQ(enabledItems(popups, 70, 78), (std::vector<int>{70}));
    EXPECT_FALSE(arrange->isEnabled());

    ApplyGroupPopupRules(popups, 1);
    EXPECT_EQ(enabledItems(popups, 70, 78), (std::vector<int>{70, 71, 72, 73, 74, 75, 76, 77, 78}));
    EXPECT_TRUE(arrange->isEnabled());
}

}  // namespace
}  // namespace vlt
