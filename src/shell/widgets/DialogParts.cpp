#include "shell/widgets/DialogParts.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>

#include "engine/crypto/SecureBuffer.h"

namespace vlt {

namespace {

template <typename Control>
Control* placed(Control* control, const char* name, const QRect& place) {
    control->setObjectName(QLatin1String(name));
    control->setGeometry(place);
    return control;
}

}  // namespace

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& place, const QString& text) {
    return placed(new QLabel(text, parent), name, place);
}

QLabel* makeBanner(QWidget* parent, const QPixmap& banner) {
    QLabel* label = placed(new QLabel(parent), "banner", QRect(QPoint(0, 0), banner.size()));
    label->setPixmap(banner);
    return label;
}

QLineEdit* makeMaskedField(QWidget* parent, const char* name, const QRect& place,
                           const QString& tip) {
    QLineEdit* field = placed(new QLineEdit(parent), name, place);
    field->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    field->setToolTip(tip);
    SetPasswordMask(field, 1);
    return field;
}

void SetPasswordMask(QLineEdit* field, int flag) {
    field->setEchoMode(flag == 1 ? QLineEdit::Password : QLineEdit::Normal);
}

bool wipeUnshared(QString& text) {
    // Text set from a literal is never detached, and holds nothing typed.
    if (!text.isDetached()) {
        return false;
    }
    QChar* start = text.data() - text.data_ptr().freeSpaceAtBegin();
    wipeBytes(start,
              static_cast<std::size_t>(text.data_ptr().constAllocatedCapacity()) * sizeof(QChar));
    return true;
}

void wipeField(QLineEdit* field) {
    if (!field) {
        return;
    }
    QString text = field->text();  // shares the field's own buffer
    field->setText(QString());     // the field lets go of it, and of its undo history
    wipeUnshared(text);
}

QPushButton* makeIconButton(QWidget* parent, const char* name, const QRect& place,
                            const QIcon& icon, const QString& tip) {
    QPushButton* button = placed(new QPushButton(parent), name, place);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setAutoDefault(false);
    button->setToolTip(tip);
    return button;
}

ImageButton* makeImageButton(QWidget* parent, const char* name, const QRect& place,
                             const QString& text, const QIcon& icon, const QString& tip) {
    ImageButton* button = placed(new ImageButton(text, icon, parent), name, place);
    button->setAutoDefault(false);
    button->setToolTip(tip);
    return button;
}

QFrame* SeparatorGadget(QWidget* parent, int x, int y, int width, int height) {
    auto* rule = new QFrame(parent);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(x, y, width, height);
    return rule;
}

QLabel* HyperLinkGadget(QWidget* parent, int x, int y, int height, const QString& text,
                        const QColor& color) {
    auto* link = new QLabel(parent);
    link->setTextFormat(Qt::RichText);
    link->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(text.toHtmlEscaped()));
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    QPalette palette = link->palette();
    palette.setColor(QPalette::Link, color);
    link->setPalette(palette);
    const int width = link->fontMetrics().horizontalAdvance(text) + 2;
    link->setGeometry(x, y, width, height);
    return link;
}

}  // namespace vlt
