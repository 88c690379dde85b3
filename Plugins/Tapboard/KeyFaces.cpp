#include "KeyFaces.h"

#include <QFontMetrics>
#include <QPainter>

namespace tapboard {

KeyFaces::KeyFaces(const QPalette& palette, const QFont& font) : palette_(palette), font_(font) {
    for (int kind = 0; kind < kKindCount; ++kind) {
        const int width = KindWidth(kind);
        for (int state = 0; state < 2; ++state) {
            const QColor light = palette.color(QPalette::Light);
            const QColor shadow = palette.color(QPalette::Shadow);
            const QColor topLeft = state == 0 ? light : shadow;
            const QColor bottomRight = state == 0 ? shadow : light;
            QImage face(width, kKeyHeight, QImage::Format_RGB32);
            face.fill(bottomRight);
            QPainter painter(&face);
            painter.fillRect(0, 0, width, 1, topLeft);
            painter.fillRect(0, 0, 1, kKeyHeight, topLeft);
            painter.fillRect(1, 1, width - 2, kKeyHeight - 2, palette.color(QPalette::Button));
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
