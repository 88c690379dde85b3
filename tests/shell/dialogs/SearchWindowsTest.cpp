#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "Widgets.h"
#include "engine/text/TimePeriods.h"
#include "shell/dialogs/EntryWindow.h"
#include "shell/dialogs/FindWindow.h"
#include "shell/dialogs/MassModifyWindow.h"

namespace vlt {
namespace {

constexpr std::int32_t kNow = 1'700'000'000;

using test::child;
using test::press;

TEST(FindWindowTest, ReturnSearchesWithTheShownValuesAndEscapeLeavesThemBehind) {
    SearchOptions options;
    options.SearchText = u"abc";
    options.SearchAccounts = 1;
    options.CaseSensitive = 1;
    std::vector<SearchOptions> searches;
    QTimer::singleShot(0, [] {
        auto* window = qobject_cast<FindWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        auto* text = child<QLineEdit>(window, "searchField");
        EXPECT_EQ(text->selectedText(), QStringLiteral("abc"));
        EXPECT_TRUE(child<QCheckBox>(window, "caseBox")->isChecked());
        EXPECT_FALSE(child<QCheckBox>(window, "expiredBox")->isChecked());
        text->setText(QStringLiteral(" x\u00C4 "));
        press(text, Qt::Key_Return);  // the search misses: the window stays
        EXPECT_TRUE(window->isVisible());
        child<QCheckBox>(window, "commentsBox")->setChecked(true);
        press(text, Qt::Key_Escape);
    });
    FindWindow::run(nullptr, options, [&](const SearchOptions& shown) {
        searches.push_back(shown);
        return false;
    });
    ASSERT_EQ(searches.size(), 1u);
    EXPECT_TRUE(searches[0].SearchText == u" x\u00C4 ");
    EXPECT_EQ(searches[0].SearchComments, 0);
    EXPECT_TRUE(options.SearchText == u" x\u00C4 ");
    EXPECT_EQ(options.SearchComments, 1);
    EXPECT_EQ(options.CaseSensitive, 1);

    QTimer::singleShot(0, [] {
        auto* window = qobject_cast<FindWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        press(child<QLineEdit>(window, "searchField"), Qt::Key_Return);
    });
    FindWindow::run(nullptr, options, [](const SearchOptions&) { return true; });  // a hit closes
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(MassModifyWindowTest, CheckBoxesEnableTheirPartsAndReturnAcceptsTheChoice) {
    const std::vector<GroupChoice> groups{{u"   Web", 10}, {u"      Mail", 20}};
    QTimer::singleShot(0, [] {
        auto* window = qobject_cast<MassModifyWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        auto* groupBox = child<QComboBox>(window, "groupBox");
        auto* date = child<QDateTimeEdit>(window, "dateField");
        auto* expires = child<QCheckBox>(window, "expiresBox");
        EXPECT_EQ(groupBox->currentText(), QStringLiteral("   Web"));
        EXPECT_FALSE(groupBox->isEnabled());
        EXPECT_FALSE(date->isEnabled() || expires->isEnabled() ||
                     child<QPushButton>(window, "periodButton")->isEnabled());
        child<QCheckBox>(window, "moveBox")->setChecked(true);
        EXPECT_TRUE(groupBox->isEnabled());
        groupBox->setCurrentIndex(1);
        child<QCheckBox>(window, "expiryBox")->setChecked(true);
        EXPECT_TRUE(date->isEnabled() && expires->isEnabled());
        EXPECT_EQ(date->dateTime().toSecsSinceEpoch(), kNow);
        window->pickPeriod(6);  // 1 year
        press(date, Qt::Key_Return);
    });
    const auto choice = MassModifyWindow::ask(nullptr, groups, kNow, nullptr);
    ASSERT_TRUE(choice.has_value());
    EXPECT_TRUE(choice->moveToGroup);
    EXPECT_EQ(choice->groupId, 20);
    EXPECT_TRUE(choice->changeExpiry);
    // The field shows minutes: the chosen date is kept to the second all the same.
    EXPECT_EQ(choice->expirationDate, DateAfterPeriod(kNow, 6));
    EXPECT_FALSE(choice->expires);

    QTimer::singleShot(0, [] {
        auto* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        child<QCheckBox>(window, "moveBox")->setChecked(true);
        press(window, Qt::Key_Escape);
    });
    EXPECT_FALSE(MassModifyWindow::ask(nullptr, groups, kNow, nullptr).has_value());
}

TEST(MassModifyWindowTest, TheDateFieldIsTheEntryEditorsDropDownCalendar) {
    MassModifyWindow window({}, kNow, nullptr);
    EntryWindow editor(Entry{}, EntryWindow::kAddMode, EntryWindowServices{});
    auto* date = child<QDateTimeEdit>(&window, "dateField");
    auto* expiry = child<QDateTimeEdit>(&editor, "expiryDate");
    EXPECT_TRUE(date->calendarPopup());
    EXPECT_EQ(date->calendarPopup(), expiry->calendarPopup());
    EXPECT_EQ(date->displayFormat(), expiry->displayFormat());
    EXPECT_EQ(date->timeSpec(), expiry->timeSpec());
    EXPECT_EQ(date->minimumDateTime(), expiry->minimumDateTime());
    EXPECT_EQ(date->maximumDateTime(), expiry->maximumDateTime());
}

}  // namespace
}  // namespace vlt
