#pragma once
// Small controls the dialogs place at fixed positions: a horizontal rule and a link text.

#include <QColor>
#include <QString>

class QFrame;
class QLabel;
class QWidget;

namespace vlt {

// A sunken horizontal rule across the band at (x, y) of width x height.
QFrame* SeparatorGadget(QWidget* parent, int x, int y, int width, int height);

// Underlined link text in `color` at (x, y), as wide as the text in the parent's font plus 2
// pixels and `height` high. A click emits the label's linkActivated signal.
QLabel* HyperLinkGadget(QWidget* parent, int x, int y, int height, const QString& text,
                        const QColor& color);

}  // namespace vlt
