#pragma once
// Drawing helpers shared by the windows: gradient images for banners and text with a shadow.

#include <QColor>
#include <QImage>
#include <QString>

#include "engine/text/Misc.h"

class QPainter;
class QWidget;

namespace vlt {

// The one conversion of an engine colour to Qt's.
inline QColor toQColor(Rgb color) {
    return QColor(color.r, color.g, color.b);
}

// Colours a gadget's background and text, each only where its Enable... setting is 1.
void SetGadgetColors(QWidget* widget, int enableBack, int back, int enableText, int text);

// A width x height image filled with a linear gradient from `first` to `second`: by rows from
// the top when `vertical`, else by columns from the left (the steps of GradientSteps). A size of
// zero or less gives a null image.
QImage CreateColorImage(int width, int height, Rgb first, Rgb second, bool vertical);

// Draws the text with the top-left corner of its line at (x, y) in the painter's font: first in
// black one pixel right and down, then in `color` at its place.
void DrawShadowText(QPainter& painter, int x, int y, const QString& text, const QColor& color);

}  // namespace vlt
