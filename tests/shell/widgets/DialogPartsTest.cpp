// The shared controls of the dialogs, where a fault would show in every dialog at once.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
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

TEST(DialogParts, WipingAFieldLeavesWhatWasCopiedFromItOnTheClipboard) {
    QWidget dialog;
    QLineEdit* field = makeMaskedField(&dialog, "secret", QRect(10, 20, 100, 20), "tip");
    SetPasswordMask(field, 0);  // a masked field refuses to copy
    field->setText(QString::fromLatin1("Copied pass 1"));
    field->selectAll();
    field->copy();
    wipeField(field);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Copied pass 1"));
}

TEST(DialogParts, OnlyABufferNothingElseSharesIsWipedAndThenWhole) {
    // Characters deleted from either end stay in the buffer's spare room until it is wiped.
    QString alone = QString::fromLatin1("a secret");
    alone.remove(0, 2);
    alone.chop(1);
    EXPECT_TRUE(wipeUnshared(alone));
    const QChar* block = alone.constData() - alone.data_ptr().freeSpaceAtBegin();
    for (qsizetype i = 0; i < alone.data_ptr().constAllocatedCapacity(); ++i) {
        EXPECT_EQ(block[i], QChar(0)) << i;
    }

    QString shared = QString::fromLatin1("on the clipboard");
    const QString copy = shared;
    EXPECT_FALSE(wipeUnshared(shared));
    EXPECT_EQ(copy, QStringLiteral("on the clipboard"));
    QString literal = QStringLiteral("read-only");
    EXPECT_FALSE(wipeUnshared(literal));
    EXPECT_EQ(literal, QStringLiteral("read-only"));
}

}  // namespace
}  // namespace vlt
