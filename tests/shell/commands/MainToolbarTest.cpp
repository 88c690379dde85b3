// The main window's toolbar: its buttons, their drop-down popups and the commands they report.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QToolButton>

#include "CommandLayout.h"
#include "ShellFixture.h"
#include "shell/commands/MainToolbar.h"
#include "shell/commands/PopupMenus.h"
#include "shell/widgets/IconCatalog.h"

namespace vlt {
namespace {

using test::commandLayout;
using test::sameIcon;
using test::ShellFixture;
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
    EXPECT_EQ(toolbar.toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
}

TEST_F(MainToolbarTest, EachButtonCarriesItsItemWithTextTooltipAndIcon) {
    for (int id = 104; id <= 115; ++id) {
        QToolButton* button = toolbar.button(Command{id});
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->objectName(), QStringLiteral("button%1").arg(id));
        EXPECT_EQ(button->defaultAction(), toolbar.item(Command{id}));
        EXPECT_FALSE(button->toolTip().isEmpty()) << id;
    }
    QToolButton* add = toolbar.button(Command{107});
    EXPECT_EQ(add->text(), QStringLiteral("Add new"));
    EXPECT_EQ(add->toolTip(), QStringLiteral("Add new item / group"));
    EXPECT_TRUE(sameIcon(add->defaultAction()->icon(), MenuIcon(10)));
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

// At the factory window size every button is on the bar, none behind the extension arrow.
TEST_F(ShellFixture, AllTwelveButtonsShowInTheFactorySizedWindow) {
    startWith();
    MainWindow& window = app->window();
    ASSERT_EQ(window.size(), QSize(685, 450));
    QApplication::processEvents();
    auto* toolbar = window.findChild<MainToolbar*>(QStringLiteral("mainToolbar"));
    ASSERT_NE(toolbar, nullptr);
    for (int id = 104; id <= 115; ++id) {
        QToolButton* button = toolbar->button(Command{id});
        ASSERT_NE(button, nullptr) << id;
        EXPECT_TRUE(button->isVisible()) << id;
        EXPECT_TRUE(toolbar->rect().contains(button->geometry())) << id;
        EXPECT_FALSE(button->text().isEmpty()) << id;
    }
    auto* more = toolbar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
    EXPECT_TRUE(more == nullptr || !more->isVisible());
}

}  // namespace
}  // namespace vlt
