#include "shell/widgets/ImageButton.h"

#include <QEnterEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QStyleOptionButton>

namespace vlt {

namespace {

constexpr int kIconX = 10;
constexpr int kTextGap = 20;
constexpr int kFocusInset = 4;

}  // namespace

ImageButton::ImageButton(const QString& text, const QIcon& icon, QWidget* parent)
    : QPushButton(text, parent) {
    setIcon(icon);
    setIconSize(QSize(16, 16));
    setAttribute(Qt::WA_Hover);
}

QSize ImageButton::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const int textWidth = metrics.horizontalAdvance(text().left(kMaxTextLength));
    return {iconSize().width() + kTextGap + textWidth + kIconX,
            qMax(25, metrics.height() + 2 * kFocusInset)};
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    if (hot_ && isEnabled()) {
        option.state |= QStyle::State_MouseOver;
    } else {
        option.state &= ~QStyle::State_MouseOver;
    }
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

    const bool pressed = isDown();
    const bool disabled = !isEnabled();
    const int shift = pressed ? 1 : 0;
    const QSize iconSz = iconSize();
    const QFontMetrics metrics = fontMetrics();
    const int fontHeight = QFontInfo(font()).pixelSize();

    const QPoint iconAt(kIconX + shift, (height() - iconSz.height()) / 2 + 1 + shift);
    const QPixmap picture =
        icon().pixmap(iconSz, devicePixelRatio(), disabled ? QIcon::Disabled : QIcon::Normal);
    painter.drawPixmap(iconAt, picture);

    const QString shown = text().left(kMaxTextLength);
    const QRect textBox(iconSz.width() + kTextGap + shift, (height() - fontHeight) / 2 - 1 + shift,
                        width() - iconSz.width() - kTextGap, metrics.height());
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (disabled) {
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(textBox.translated(1, 1), flags, shown);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawText(textBox, flags, shown);
    } else {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(textBox, flags, shown);
    }

    if (!disabled && (pressed || hasFocus())) {
        // A dotted rectangle: the styles' own focus frames are filled panels on some desktops
        // and would cover the icon.
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(
            rect().adjusted(kFocusInset, kFocusInset, -kFocusInset - 1, -kFocusInset - 1));
    }
}

void ImageButton::enterEvent(QEnterEvent* event) {
    if (!hot_) {
        hot_ = true;
        update();
    }
    QPushButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event) {
    if (hot_) {
        hot_ = false;
        update();
    }
    QPushButton::leaveEvent(event);
}

}  // namespace vlt
