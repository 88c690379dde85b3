#include "HeaderBand.h"

#include <QFont>
#include <QPainter>
#include <cmath>

namespace {

constexpr std::uint32_t rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r | (g << 8) | (b << 16));
}

void shadowText(QPainter& painter, QPoint at, const QString& text) {
    painter.setPen(Qt::black);
    painter.drawText(at + QPoint(1, 1), text);
    painter.setPen(Qt::white);
    painter.drawText(at, text);
}

}  // namespace

QImage CreateGradientImage(int width, int height, std::uint32_t colour1, std::uint32_t colour2,
                           int direction) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return image;
    }
    const int count = direction != 0 ? height : width;
    float start[3];
    float step[3];
    for (int c = 0; c < 3; ++c) {
        const int from = static_cast<int>((colour1 >> (8 * c)) & 0xFF);
        const int to = static_cast<int>((colour2 >> (8 * c)) & 0xFF);
        start[c] = static_cast<float>(from);
        step[c] = static_cast<float>(from - to) / static_cast<float>(count);
    }
    QPainter painter(&image);
    for (int i = 0; i < count; ++i) {
        int channel[3];
        for (int c = 0; c < 3; ++c) {
            // Ties go to the even neighbour, the default rounding mode.
            channel[c] =
                static_cast<int>(std::nearbyint(start[c] - static_cast<float>(i) * step[c]));
        }
        const QColor colour(channel[0], channel[1], channel[2]);
        if (direction != 0) {
            painter.fillRect(0, i, width, 1, colour);
        } else {
            painter.fillRect(i, 0, 1, height, colour);
        }
    }
    return image;
}

QImage HeaderBand(int width, const QString& title, const QString& subtitle) {
    QImage band = CreateGradientImage(width, 40, rgb(165, 230, 65), rgb(100, 180, 30), 1);
    if (band.isNull()) {
        return band;
    }
    QPainter painter(&band);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    font.setBold(true);
    painter.setFont(font);
    const int ascent = painter.fontMetrics().ascent();
    shadowText(painter, QPoint(10, 7 + ascent), title);
    font.setBold(false);
    painter.setFont(font);
    shadowText(painter, QPoint(10, 21 + ascent), subtitle);
    return band;
}
