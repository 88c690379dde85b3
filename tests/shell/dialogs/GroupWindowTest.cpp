// The group editor window driven through its controls by objectName.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "FakePrompter.h"
#include "Widgets.h"
#include "shell/dialogs/GroupWindow.h"

namespace vlt {
namespace {

class GroupWindowTest : public ::testing::Test {
  protected:
    GroupWindowTest() {
        groups.append(Group{1, 1, u"Web Mail", 0});
        groups.append(Group{2, 1, u"Banks", 3});
    }
    std::unique_ptr<GroupWindow> open(GroupWindowMode mode, const Group& start = Group{}) {
        auto window = std::make_unique<GroupWindow>(start, mode, groups, &prompter);
        window->show();
        return window;
    }
    static QLineEdit* nameField(QWidget* w) {
        return w->findChild<QLineEdit*>(QStringLiteral("nameField"));
    }
    static QListWidget* iconList(QWidget* w) {
        return w->findChild<QListWidget*>(QStringLiteral("iconList"));
    }
    static void accept(QWidget* w) {
        w->findChild<QPushButton*>(QStringLiteral("acceptButton"))->click();
    }
    QString lastPrompt() const {
        return prompter.prompts.empty() ? QString() : prompter.prompts.back().text;
    }

    RecordList<Group> groups;
    test::FakePrompter prompter;
};

TEST_F(GroupWindowTest, AddChecksNameIconAndDuplicatesInThatOrder) {
    auto window = open(kGroupAdd);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("VLT - Add a new group"));
    QListWidget* icons = iconList(window.get());
    ASSERT_EQ(icons->count(), 100);
    EXPECT_EQ(icons->item(42)->text(), QStringLiteral("Icon no.42"));
    EXPECT_EQ(icons->selectedItems().size(), 1);  // the starting icon, 0
    EXPECT_EQ(window->focusWidget(), nameField(window.get()));

    nameField(window.get())->setText(QStringLiteral("   "));
    // A click on empty space leaves no icon selected.
    const QPoint empty(icons->viewport()->width() - 2, icons->viewport()->height() - 2);
    ASSERT_EQ(icons->itemAt(empty), nullptr);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(empty),
                      icons->viewport()->mapToGlobal(QPointF(empty)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(icons->viewport(), &press);
    EXPECT_TRUE(icons->selectedItems().isEmpty());

    accept(window.get());  // blanks only: no name
    EXPECT_EQ(lastPrompt(), QStringLiteral("Please choose a valid name for the group."));
    nameField(window.get())->setText(QStringLiteral("  web mail "));
    accept(window.get());  // named, but no icon
    EXPECT_EQ(lastPrompt(), QStringLiteral("Please select (click) an icon for the group first."));
    icons->setCurrentRow(12);
    accept(window.get());  // same name but for case and blanks
    EXPECT_EQ(lastPrompt(), QStringLiteral("Another group with the same name already exists. "
                                           "Please choose another name and try again."));
    EXPECT_EQ(nameField(window.get())->selectedText(), QStringLiteral("  web mail "));
    EXPECT_EQ(window->focusWidget(), nameField(window.get()));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->result().has_value());

    nameField(window.get())->setText(QStringLiteral("  Shops "));
    test::press(nameField(window.get()), Qt::Key_Return);  // Return accepts
    EXPECT_EQ(prompter.prompts.size(), 3u);
    ASSERT_TRUE(window->result().has_value());
    EXPECT_EQ(window->result()->Name, u"Shops");
    EXPECT_EQ(window->result()->Icon, 12);
    EXPECT_EQ(window->QDialog::result(), QDialog::Accepted);
}

TEST_F(GroupWindowTest, EditKeepsOrTakesAnyNameAndEscapeCancels) {
    Group start{2, 1, u"Banks", 3};
    auto window = open(kGroupEdit, start);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("VLT - Edit an existing group"));
    EXPECT_EQ(nameField(window.get())->text(), QStringLiteral("Banks"));
    EXPECT_EQ(nameField(window.get())->selectedText(), QStringLiteral("Banks"));
    EXPECT_EQ(iconList(window.get())->currentRow(), 3);
    nameField(window.get())->setText(QStringLiteral("Web Mail"));  // another group's name
    accept(window.get());
    EXPECT_TRUE(prompter.prompts.empty());
    ASSERT_TRUE(window->result().has_value());
    EXPECT_EQ(window->result()->Name, u"Web Mail");
    EXPECT_EQ(window->result()->Icon, 3);

    auto cancelled = open(kGroupEdit, start);
    nameField(cancelled.get())->setText(QStringLiteral("Other"));
    test::press(nameField(cancelled.get()), Qt::Key_Escape);
    EXPECT_FALSE(cancelled->isVisible());
    EXPECT_FALSE(cancelled->result().has_value());
}

}  // namespace
}  // namespace vlt
