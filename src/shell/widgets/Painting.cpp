#include "shell/widgets/Painting.h"

#include <QPalette>
#include <QWidget>

#include <QPainter>

namespace vlt {

QImage CreateColorImage(int width, int height, Rgb first, Rgb second, bool vertical) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    QImage image(width, height, QImage::Format_RGB32);
    const std::vector<Rgb> steps = GradientSteps(first, second, vertical ? height : width);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const Rgb& c = steps[static_cast<std::size_t>(vertical ? y : x)];
            line[x] = qRgb(c.r, c.g, c.b);
        }
    }
    return image;
}

void DrawShadowText(QPainter& painter, int x, int y, const QString& text, const QColor& color) {
    const int baseline = y + painter.fontMetrics().ascent();
    painter.save();
    painter.setPen(Qt::black);
    painter.drawText(x + 1, baseline + 1, text);
    painter.setPen(color);
    painter.drawText(x, baseline, text);
    painter.restore();
}

void SetGadgetColors(QWidget* widget, int enableBack, int back, int enableText, int text) {
    QPalette palette = widget->palette();
    if (enableBack == 1) {
        palette.setColor(QPalette::Base, toQColor(rgbFromColor(back)));
    }
    if (enableText == 1) {
        palette.setColor(QPalette::Text, toQColor(rgbFromColor(text)));
    }
    widget->setPalette(palette);
}

}  // namespace vlt
