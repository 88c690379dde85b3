// The shared controls of the dialogs, where a fault would show in every dialog at once.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QStyle>
#include <QWidget>

#include "shell/widgets/DialogParts.h"

namespace vlt {
namespace {

TEST(DialogParts, AMaskedFieldShowsOneAsteriskPerCharacterUntilItsMaskIsRemoved) {
    QWidget dialog;
    QLineEdit* field = makeMaskedField(&dialog, "secret", QRect(10, 20, 100, 20), "tip");
    field->setText(QStringLiteral("abc"));
    dialog.show();
    EXPECT_EQ(field->echoMode(), QLineEdit::Password);
    EXPECT_EQ(
        QChar(field->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, field)),
        QLatin1Char('*'));
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("secret")), field);
    EXPECT_EQ(field->geometry(), QRect(10, 20, 100, 20));

    SetPasswordMask(field, 0);
    EXPECT_EQ(field->echoMode(), QLineEdit::Normal);
    SetPasswordMask(field, 1);
    EXPECT_EQ(field->echoMode(), QLineEdit::Password);
    SetPasswordMask(field, 2);  // only 1 masks
    EXPECT_EQ(field->echoMode(), QLineEdit::Normal);
}

}  // namespace
}  // namespace vlt
