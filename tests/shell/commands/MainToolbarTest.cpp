// The main window's toolbar: its buttons, their drop-down popups and the commands they report.
#include <gtest/gtest.h>

#include <QMenu>
#include <QToolButton>

#include "CommandLayout.h"
#include "shell/commands/MainToolbar.h"
#include "shell/commands/PopupMenus.h"
#include "shell/widgets/IconCatalog.h"

namespace vlt {
namespace {

using test::commandLayout;
using test::sameIcon;
using Layout = std::vector<std::string>;

class MainToolbarTest : public ::testing::Test {
  protected:
    PopupMenus popups{std::array<ColumnSetting, kColumnCount>{}};
    MainToolbar toolbar{popups};
};

TEST_F(MainToolbarTest, TwelveButtonsWithSeparatorsAfterTheMarkedOnes) {
    EXPECT_EQ(toolbar.objectName(), QStringLiteral("mainToolbar"));
    EXPECT_EQ(commandLayout(&toolbar),
              (Layout{"104", "105", "106", "-", "107", "-", "108", "-", "109", "-", "110", "-",
                      "111", "-", "112", "-", "113", "114", "115"}));
    EXPECT_EQ(toolbar.toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
}

TEST_F(MainToolbarTest, ButtonTextsTooltipsAndIcons) {
    const struct {
        int id;
        int icon;
        const char* text;
        const char* toolTip;
    } buttons[] = {{104, 0, "New", "New container"},
                   {105, 1, "Open", "Open container"},
                   {106, 2, "Save", "Save container"},
                   {107, 10, "Add new", "Add new item / group"},
                   {108, 11, "Remove", "Remove item / group"},
                   {109, 42, "Move", "Move item / group"},
                   {110, 37, "Search", "Find entries/groups"},
                   {111, 43, "Clipboard", "Copy information to clipboard"},
                   {112, 7, "Settings", "Change the program's settings"},
                   {113, 39, "Help", "Help"},
                   {114, 41, "About", "About VLT"},
                   {115, 9, "Exit", "Exit VLT"}};
    for (const auto& b : buttons) {
        QToolButton* button = toolbar.button(Command{b.id});
        ASSERT_NE(button, nullptr) << b.id;
        EXPECT_EQ(button->objectName(), QStringLiteral("button%1").arg(b.id));
        EXPECT_EQ(button->defaultAction(), toolbar.item(Command{b.id}));
        EXPECT_EQ(button->text(), QString::fromLatin1(b.text)) << b.id;
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(b.toolTip)) << b.id;
        EXPECT_TRUE(sameIcon(toolbar.item(Command{b.id})->icon(), MenuIcon(b.icon))) << b.id;
    }
    EXPECT_EQ(toolbar.button(Command{103}), nullptr);
}

TEST_F(MainToolbarTest, DropDownArrowsOpenTheirToolbarPopups) {
    const std::pair<int, int> dropDowns[] = {{107, 6}, {108, 7}, {109, 8}, {111, 9}};
    for (const auto& [id, popup] : dropDowns) {
        QToolButton* button = toolbar.button(Command{id});
        EXPECT_EQ(button->popupMode(), QToolButton::MenuButtonPopup) << id;
        EXPECT_EQ(button->menu(), popups.popup(popup)) << id;
    }
    for (int id : {104, 105, 106, 110, 112, 113, 114, 115}) {
        EXPECT_EQ(toolbar.button(Command{id})->menu(), nullptr) << id;
    }
}

TEST_F(MainToolbarTest, ButtonsAndTheirPopupItemsReportCommands) {
    std::vector<int> fromToolbar;
    std::vector<int> fromPopups;
    QObject::connect(&toolbar, &MainToolbar::command,
                     [&](Command id) { fromToolbar.push_back(CommandNumber(id)); });
    QObject::connect(&popups, &PopupMenus::command,
                     [&](Command id) { fromPopups.push_back(CommandNumber(id)); });
    toolbar.button(Command{105})->click();
    toolbar.button(Command{115})->click();
    toolbar.button(Command{108})->click();
    toolbar.button(Command{111})->menu()->actions().at(2)->trigger();
    EXPECT_EQ(fromToolbar, (std::vector<int>{105, 115, 108}));
    EXPECT_EQ(fromPopups, (std::vector<int>{139}));
}

}  // namespace
}  // namespace vlt
