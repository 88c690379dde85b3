// The entry editor driven through its controls by objectName, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "FakePrompter.h"
#include "Widgets.h"
#include "shell/app/QtText.h"
#include "shell/dialogs/EntryWindow.h"
#include "shell/widgets/LinkTextEdit.h"

namespace vlt {
namespace {

using test::child;
using test::press;

constexpr std::int32_t kNow = 1706708700;  // 01/31/2024 13:45:00

class EntryWindowTest : public ::testing::Test {
  protected:
    std::unique_ptr<EntryWindow> open(const Entry& input, int mode) {
        EntryWindowServices services;
        services.prompter = &prompter;
        services.now = [] { return kNow; };
        services.openLink = [this](const std::u16string& shown, const std::u16string& url) {
            links.push_back(shown + u" -> " + url);
        };
        services.chooseColor = [this](const QColor& start, QWidget*) -> std::optional<QColor> {
            starts.push_back(start);
            return chosenColor;
        };
        services.generatePassword = generator;
        auto window = std::make_unique<EntryWindow>(input, mode, services);
        window->show();
        QApplication::setActiveWindow(window.get());
        return window;
    }
    test::FakePrompter prompter;
    std::vector<std::u16string> links;
    std::vector<QColor> starts;
    std::optional<QColor> chosenColor;
    std::function<void()> generator;
};

TEST_F(EntryWindowTest, MismatchedPasswordsEmptyBothFieldsAndKeepTheWindowOpen) {
    Entry input;
    input.Account = u"bank";
    input.Password = u"old";
    input.CreationDate = 99;
    auto window = open(input, EntryWindow::kEditMode);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("VLT - Edit an existing entry"));
    EXPECT_EQ(window->focusWidget(), child(window.get(), "accountField"));
    auto* password = child<QLineEdit>(window.get(), "passwordField");
    auto* confirm = child<QLineEdit>(window.get(), "confirmField");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(confirm->text(), QStringLiteral("old"));

    confirm->setText(QStringLiteral("olD"));
    child<QPushButton>(window.get(), "acceptButton")->click();
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].text,
              QStringLiteral("The passwords from the fields do not match. Please re-enter the "
                             "password to avoid problems."));
    EXPECT_EQ(prompter.prompts[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->result().has_value());
    EXPECT_TRUE(password->text().isEmpty());
    EXPECT_TRUE(confirm->text().isEmpty());
    EXPECT_EQ(window->focusWidget(), password);

    // Both empty agree; Return in a one-line field accepts.
    child<QLineEdit>(window.get(), "userField")->setText(QStringLiteral("me"));
    press(child(window.get(), "urlField"), Qt::Key_Return);
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(window->result().has_value());
    EXPECT_TRUE(window->result()->Account == u"bank");
    EXPECT_TRUE(window->result()->User == u"me");
    EXPECT_TRUE(window->result()->Password.view().empty());
}

// The show-password button is no stop of the keyboard's way through the window: "pw Tab pw
// Return" typed from the password field fills both fields and accepts.
TEST_F(EntryWindowTest, TabLeadsFromThePasswordToTheConfirmationThenOn) {
    generator = [] {};
    auto window = open(Entry{}, EntryWindow::kAddMode);
    EXPECT_EQ(child(window.get(), "showButton")->focusPolicy(), Qt::NoFocus);
    std::vector<QWidget*> chain;
    for (const char* name : {"accountField", "userField", "passwordField", "confirmField",
                             "generatorButton", "urlField"}) {
        chain.push_back(child(window.get(), name));
    }
    for (QWidget* next : chain) {
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
        test::typeInFocus(Qt::Key_Tab);
    }

    child(window.get(), "passwordField")->setFocus();
    test::typeInFocus(QStringLiteral("pw"));
    test::typeInFocus(Qt::Key_Tab);
    test::typeInFocus(QStringLiteral("pw"));
    test::typeInFocus(Qt::Key_Return);
    EXPECT_TRUE(prompter.prompts.empty());
    ASSERT_TRUE(window->result().has_value());
    EXPECT_TRUE(window->result()->Password.view() == u"pw");
}

TEST_F(EntryWindowTest, ReturnInTheCommentBreaksTheLineAndEscapeCancels) {
    auto window = open(Entry{}, EntryWindow::kAddMode);
    auto* comment = child<LinkTextEdit>(window.get(), "commentField");
    comment->setFocus();
    press(comment, Qt::Key_A, QStringLiteral("a"));
    press(comment, Qt::Key_Return, QStringLiteral("\r"));
    press(comment, Qt::Key_B, QStringLiteral("b"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(comment->text(), QStringLiteral("a\nb"));
    press(comment, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->result().has_value());
}

TEST_F(EntryWindowTest, UntouchedTextsComeBackByteForByteAndTypedLineBreaksAsCrLf) {
    Entry input;
    input.Account = u" bank\u00A0 ";
    input.User = u"jo";
    input.URL = u"example.com/login";
    input.Comment = u"first\r\nsecond \u00A0\r\n\r\nthird";
    auto window = open(input, EntryWindow::kEditMode);
    child<QPushButton>(window.get(), "acceptButton")->click();
    ASSERT_TRUE(window->result().has_value());
    EXPECT_TRUE(window->result()->Account == input.Account);
    EXPECT_TRUE(window->result()->User == input.User);
    EXPECT_TRUE(window->result()->URL == input.URL);
    EXPECT_TRUE(window->result()->Comment == input.Comment);

    // A line typed below the stored ones: every break of the comment is CR LF.
    auto again = open(input, EntryWindow::kEditMode);
    auto* comment = child<LinkTextEdit>(again.get(), "commentField");
    comment->setFocus();
    comment->moveCursor(QTextCursor::End);
    press(comment, Qt::Key_Return, QStringLiteral("\r"));
    press(comment, Qt::Key_F, QStringLiteral("f"));
    child<QPushButton>(again.get(), "acceptButton")->click();
    ASSERT_TRUE(again->result().has_value());
    EXPECT_TRUE(again->result()->Comment == u"first\r\nsecond \u00A0\r\n\r\nthird\r\nf");
    EXPECT_TRUE(again->result()->Account == input.Account);

    // A new entry's comment, typed.
    auto added = open(Entry{}, EntryWindow::kAddMode);
    comment = child<LinkTextEdit>(added.get(), "commentField");
    comment->setFocus();
    press(comment, Qt::Key_A, QStringLiteral("a"));
    press(comment, Qt::Key_Return, QStringLiteral("\r"));
    press(comment, Qt::Key_B, QStringLiteral("b"));
    child<QPushButton>(added.get(), "acceptButton")->click();
    ASSERT_TRUE(added->result().has_value());
    EXPECT_TRUE(added->result()->Comment == u"a\r\nb");
}

// U+FEFF and U+FFFE are characters like any other in a field, not byte-order marks: Qt's
// fromUtf16 would drop the one and byte-swap the text after the other.
TEST_F(EntryWindowTest, TextsStartingWithByteOrderMarksSurviveTheWindowUnchanged) {
    for (const std::u16string& text : {std::u16string(u"\uFEFFpw"), std::u16string(u"\uFFFEpw")}) {
        EXPECT_EQ(u16s(qs(text)), text);
        EXPECT_EQ(qs(text).size(), 3);

        Entry input;
        input.Account = text;
        input.Password = text;
        auto window = open(input, EntryWindow::kEditMode);
        EXPECT_EQ(child<QLineEdit>(window.get(), "passwordField")->text().size(), 3);
        child<QPushButton>(window.get(), "acceptButton")->click();
        EXPECT_TRUE(prompter.prompts.empty());
        ASSERT_TRUE(window->result().has_value());
        EXPECT_TRUE(window->result()->Password.view() == text);
        EXPECT_TRUE(window->result()->Account == text);
    }
}

TEST_F(EntryWindowTest, ExpiryAndColoursComeBackAsTheUserLeftThem) {
    Entry input;
    input.Expires = 0;
    input.ExpirationDate = kNow + 17;  // seconds the field does not show are kept
    input.CustomBackground = 1;        // black, chosen on purpose
    input.BackgroundColor = 0;
    input.ForegroundColor = 0x0000FF;
    auto window = open(input, EntryWindow::kEditMode);
    auto* expires = child<QCheckBox>(window.get(), "expiresBox");
    EXPECT_FALSE(child(window.get(), "expiryDate")->isEnabled());
    EXPECT_FALSE(child(window.get(), "foregroundButton")->isEnabled());
    EXPECT_TRUE(child(window.get(), "backgroundButton")->isEnabled());
    EXPECT_FALSE(child(window.get(), "generatorButton")->isEnabled());
    EXPECT_FALSE(child(window.get(), "addButton")->isEnabled());
    expires->setChecked(true);
    EXPECT_TRUE(child(window.get(), "expiryDate")->isEnabled());

    // A cancelled chooser keeps the colour; a chosen one replaces it.
    child<QCheckBox>(window.get(), "foregroundBox")->setChecked(true);
    child<QPushButton>(window.get(), "foregroundButton")->click();
    chosenColor = QColor(0, 128, 255);
    child<QPushButton>(window.get(), "foregroundButton")->click();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0], QColor(255, 0, 0));
    child<QPushButton>(window.get(), "acceptButton")->click();
    ASSERT_TRUE(window->result().has_value());
    const Entry& result = *window->result();
    EXPECT_EQ(result.Expires, 1);
    EXPECT_EQ(result.ExpirationDate, kNow + 17);
    EXPECT_EQ(result.CustomForeground, 1);
    EXPECT_EQ(result.ForegroundColor, 0xFF8000);  // 0x00BBGGRR
    EXPECT_EQ(result.CustomBackground, 1);
    EXPECT_EQ(result.BackgroundColor, 0);

    // The time popup's month step, from the last day of January in a leap year; the password
    // generator's button starts the generator once there is one to start.
    int launches = 0;
    generator = [&launches] { ++launches; };
    auto again = open(input, EntryWindow::kEditMode);
    child<QPushButton>(again.get(), "generatorButton")->click();
    EXPECT_EQ(launches, 1);
    again->pickPeriod(3);
    EXPECT_EQ(child<QDateTimeEdit>(again.get(), "expiryDate")->dateTime().toSecsSinceEpoch(),
              kNow + 29 * 86'400);
    child<QPushButton>(again.get(), "acceptButton")->click();
    EXPECT_EQ(again->result()->ExpirationDate, kNow + 29 * 86'400);
}

TEST_F(EntryWindowTest, AClickedLinkInTheCommentGoesToTheLinkOpener) {
    Entry input;
    input.Comment = u"see https://example.org/a now";
    auto window = open(input, EntryWindow::kAddMode);
    auto* comment = child<LinkTextEdit>(window.get(), "commentField");
    auto click = [&](int position) {
        QTextCursor cursor(comment->document());
        cursor.setPosition(position);
        const QPointF at = comment->cursorRect(cursor).center() + QPointF(2, 0);
        QMouseEvent down(QEvent::MouseButtonPress, at, comment->viewport()->mapToGlobal(at),
                         Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(comment->viewport(), &down);
        QMouseEvent up(QEvent::MouseButtonRelease, at, comment->viewport()->mapToGlobal(at),
                       Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(comment->viewport(), &up);
    };
    click(1);  // "see" is no link
    EXPECT_TRUE(links.empty());
    click(12);
    EXPECT_EQ(links,
              (std::vector<std::u16string>{u"https://example.org/a -> https://example.org/a"}));
    EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace vlt
