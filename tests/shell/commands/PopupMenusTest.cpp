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

TEST(PopupMenus, NinePopupsWithTheirItemsAndSeparators) {
    PopupMenus popups(noColumns());
    for (int n = 1; n <= 9; ++n) {
        ASSERT_NE(popups.popup(n), nullptr) << n;
        EXPECT_EQ(popups.popup(n)->objectName(), QStringLiteral("popup%1").arg(n));
    }
    EXPECT_EQ(popups.popup(0), nullptr);
    EXPECT_EQ(popups.popup(10), nullptr);

    EXPECT_EQ(commandLayout(popups.popup(1)),
              (Layout{"70", "71", "72", "-", ">popup1Arrange", "-", "77", "78"}));
    auto* arrange = popups.popup(1)->findChild<QMenu*>(QStringLiteral("popup1Arrange"));
    ASSERT_NE(arrange, nullptr);
    EXPECT_EQ(arrange->title(), QStringLiteral("Arrange group"));
    EXPECT_EQ(commandLayout(arrange), (Layout{"73", "74", "75", "76"}));
    EXPECT_EQ(commandLayout(popups.popup(2)), (Layout{"116", "-", "117", "118", "-", "119", "120",
                                                      "121", "-", "122", "123", "124"}));
    EXPECT_EQ(commandLayout(popups.popup(3)),
              (Layout{"95", "96", "97", "98", "99", "-", "100", "101", "102", "103"}));
    EXPECT_EQ(commandLayout(popups.popup(4)),
              (Layout{"82", "83", "84", "-", "85", "86", "-", "87", "88", "89", "90", "-", "91",
                      "92", "-", "93", "94"}));
    EXPECT_EQ(commandLayout(popups.popup(5)), (Layout{"125", "126"}));
    EXPECT_EQ(commandLayout(popups.popup(6)), (Layout{"127", "128"}));
    EXPECT_EQ(commandLayout(popups.popup(7)), (Layout{"129", "130"}));
    EXPECT_EQ(commandLayout(popups.popup(8)),
              (Layout{"131", "132", "133", "134", "-", "135", "136"}));
    EXPECT_EQ(commandLayout(popups.popup(9)), (Layout{"137", "138", "139", "140", "141"}));
}

TEST(PopupMenus, ItemTextsAndIcons) {
    PopupMenus popups(noColumns());
    const struct {
        int id;
        const char* text;
        int icon;
    } samples[] = {{70, "Add Group\tCtrl+Shift+A", 10},
                   {72, "Edit Group\tCtrl+Shift+E", 12},
                   {76, "Move Right\tCtrl+Right", 32},
                   {78, "Collapse", 34},
                   {84, "Edit/View Selected Entry\tCtrl+E", 15},
                   {86, "Mass Modify Entries\tCtrl+M", 28},
                   {90, "Copy Comment", 21},
                   {92, "Save Attachment(s)", 27},
                   {94, "Move Down\tShift+Down", 30},
                   {97, "Password", kNoIcon},
                   {103, "Expires", kNoIcon},
                   {116, "Now", kNoIcon},
                   {121, "6 months", kNoIcon},
                   {125, "&Restore VLT", 35},
                   {126, "&Exit", 9},
                   {128, "&Entry", 13},
                   {129, "&Group", 11},
                   {134, "&Group right", 32},
                   {135, "&Entry up", 29},
                   {137, "&Copy account", 17},
                   {141, "&Copy comment", 21}};
    for (const auto& s : samples) {
        QAction* action = popups.item(Command{s.id});
        ASSERT_NE(action, nullptr) << s.id;
        EXPECT_EQ(action->objectName(), QStringLiteral("command%1").arg(s.id));
        EXPECT_EQ(action->text(), QString::fromLatin1(s.text)) << s.id;
        EXPECT_TRUE(action->shortcut().isEmpty()) << s.id;
        if (s.icon == kNoIcon) {
            EXPECT_TRUE(action->icon().isNull()) << s.id;
        } else {
            EXPECT_TRUE(sameIcon(action->icon(), MenuIcon(s.icon))) << s.id;
        }
    }
    EXPECT_EQ(popups.item(Command{79}), nullptr);
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

TEST(EntryPopupRules, AllRowsSelectedStillAllowSelectAllAndMassModify) {
    PopupMenus popups(noColumns());
    ApplyEntryPopupRules(popups, true, 3, 3);
    EXPECT_EQ(enabledItems(popups, 82, 94), (std::vector<int>{82, 85, 86}));
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
