// Running a dialog modally: it blocks the window that opened it, not windows of their own
// (tool plugins' windows), and what it leaves behind is read before it goes.
#include <gtest/gtest.h>

#include <QDialog>
#include <QTimer>

#include "shell/widgets/ModalRun.h"

namespace vlt {
namespace {

TEST(ModalRun, OwnedWindowIsModalToItsOwnerOnlyAndIsReadBeforeItGoes) {
    QWidget owner;
    owner.show();
    auto* dialog = new QDialog(&owner);
    dialog->setObjectName(QStringLiteral("probe"));
    Qt::WindowModality seen = Qt::NonModal;
    QTimer::singleShot(0, dialog, [dialog, &seen] {
        seen = dialog->windowModality();
        dialog->done(7);
    });
    QString taken;
    int code = 0;
    RunModal(&owner, dialog, [&](QDialog& window, int result) {
        taken = window.objectName();
        code = result;
    });
    EXPECT_EQ(seen, Qt::WindowModal);
    EXPECT_EQ(taken, QStringLiteral("probe"));
    EXPECT_EQ(code, 7);
    EXPECT_TRUE(owner.findChildren<QDialog*>().isEmpty());
}

}  // namespace
}  // namespace vlt
