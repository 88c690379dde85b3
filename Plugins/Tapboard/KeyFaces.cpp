#include "KeyFaces.h"

#include <QFontMetrics>
#include <QPainter>

namespace tapboard {

// A raised key has a light outer edge at its top and left and a dark one at its bottom and
// right, and inside that a second, softer pair; a pressed key has both pairs swapped. The inner
// pair frames a key on all four sides by itself: along the window's edge the outer dark line
// melts into the window frame, and the space bar has no label to show where it lies.
KeyFaces::KeyFaces(const QPalette& palette, const QFont& font) : palette_(palette), font_(font) {
    const QColor light = palette.color(QPalette::Light);
    const QColor midlight = palette.color(QPalette::Midlight);
    const QColor dark = palette.color(QPalette::Dark);
    const QColor shadow = palette.color(QPalette::Shadow);
    for (int kind = 0; kind < kKindCount; ++kind) {
        const int width = KindWidth(kind);
        for (int state = 0; state < 2; ++state) {
            const bool up = state == 0;
            QImage face(width, kKeyHeight, QImage::Format_RGB32);
            QPainter painter(&face);
            const auto edge = [&](int inset, const QColor& topLeft, const QColor& bottomRight) {
                const int w = width - 2 * inset;
                const int h = kKeyHeight - 2 * inset;
                painter.fillRect(inset, inset, w, h, bottomRight);
                painter.fillRect(inset, inset, w - 1, 1, topLeft);
                painter.fillRect(inset, inset, 1, h - 1, topLeft);
            };
            edge(0, up ? light : shadow, up ? shadow : light);
            edge(1, up ? midlight : dark, up ? dark : midlight);
            painter.fillRect(2, 2, width - 4, kKeyHeight - 4, palette.color(QPalette::Button));
            templates_[static_cast<std::size_t>(kind * 2 + state)] = face;
        }
    }
}

QImage KeyFaces::make(const QString& label, int kind, int state) const {
    QImage face = templates_[static_cast<std::size_t>(kind * 2 + state)].copy();
    if (label.isEmpty()) {
        return face;
    }
    QPainter painter(&face);
    painter.setFont(font_);
    const QFontMetrics metrics(font_);
    const int x = (face.width() - metrics.horizontalAdvance(label)) / 2 + state;
    const int y = (kKeyHeight - metrics.height()) / 2 + state;
    painter.setPen(state == 0 ? palette_.color(QPalette::ButtonText) : QColor(255, 0, 0));
    painter.drawText(x, y + metrics.ascent(), label);
    return face;
}

}  // namespace tapboard
