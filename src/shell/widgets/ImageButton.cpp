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

ImageButtonPlaces placeImageButton(ImageLayout layout, QSize button, QSize icon, QSize text,
                                   int fontHeight) {
    const int w = button.width();
    const int h = button.height();
    QPoint iconAt;
    QPoint textAt;
    switch (layout) {
        case ImageLayout::IconAbove:
            iconAt = {(w - icon.width()) / 2, (h - icon.height()) / 4};
            textAt = {(w - text.width()) / 2, h - text.height() - 10};
            break;
        case ImageLayout::IconRight:
            iconAt = {w - icon.width() - 10, (h - icon.height()) / 2};
            textAt = {w - text.width() - icon.width() - 20, (h - fontHeight) / 2 - 1};
            break;
        case ImageLayout::IconBelow:
            iconAt = {(w - icon.width()) / 2, h - icon.height() - 7};
            textAt = {(w - text.width()) / 2, (h - text.height()) / 4};
            break;
        case ImageLayout::IconLeft:
            iconAt = {kIconX, (h - icon.height()) / 2 + 1};
            textAt = {icon.width() + kTextGap, (h - fontHeight) / 2 - 1};
            break;
    }
    return {QRect(iconAt, icon), QRect(textAt, text)};
}

ImageButton::ImageButton(const QString& text, const QIcon& icon, QWidget* parent,
                         ImageLayout layout)
    : QPushButton(text, parent), layout_(layout) {
    setIcon(icon);
    setIconSize(QSize(16, 16));
    setAttribute(Qt::WA_Hover);
}

QSize ImageButton::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const int textWidth = metrics.horizontalAdvance(text().left(kMaxTextLength));
    const QSize icon = iconSize();
    if (layout_ == ImageLayout::IconAbove || layout_ == ImageLayout::IconBelow) {
        // Icon and text stacked, with the margins the two layouts leave around them.
        return {qMax(icon.width(), textWidth) + 2 * kIconX,
                icon.height() + metrics.height() + 2 * kIconX};
    }
    return {icon.width() + kTextGap + textWidth + kIconX,
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
    const QPoint shift = pressed ? QPoint(1, 1) : QPoint(0, 0);
    const QFontMetrics metrics = fontMetrics();
    const QString shown = text().left(kMaxTextLength);
    const ImageButtonPlaces places = placeImageButton(
        layout_, size(), iconSize(), metrics.size(Qt::TextSingleLine | Qt::TextShowMnemonic, shown),
        QFontInfo(font()).pixelSize());

    const QPixmap picture =
        icon().pixmap(iconSize(), devicePixelRatio(), disabled ? QIcon::Disabled : QIcon::Normal);
    painter.drawPixmap(places.icon.topLeft() + shift, picture);

    const QRect textBox = places.text.translated(shift);
    const int flags =
        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic | Qt::TextDontClip;
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
