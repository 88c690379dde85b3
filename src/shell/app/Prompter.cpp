#include "shell/app/Prompter.h"

#include <QMessageBox>

#include "shell/widgets/ModalRun.h"

namespace vlt {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void MessageBoxPrompter::message(QWidget* parent, const QString& caption, const QString& text,
                                 MessageIcon icon) {
    const QPointer<QWidget> owner = ModalOwner(parent);
    auto* box = new QMessageBox(boxIcon(icon), caption, text, QMessageBox::Ok, owner.data());
    box->setTextFormat(Qt::PlainText);
    RunModal(owner, box, [](QMessageBox&, int) {});
}

bool MessageBoxPrompter::askYesNo(QWidget* parent, const QString& caption, const QString& text,
                                  MessageIcon icon) {
    const QPointer<QWidget> owner = ModalOwner(parent);
    auto* box = new QMessageBox(boxIcon(icon), caption, text, QMessageBox::Yes | QMessageBox::No,
                                owner.data());
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::Yes);
    bool yes = false;
    RunModal(owner, box, [&yes](QMessageBox&, int answer) { yes = answer == QMessageBox::Yes; });
    return yes;
}

Prompter& MessageBoxPrompter::standard() {
    static MessageBoxPrompter prompter;
    return prompter;
}

}  // namespace vlt
