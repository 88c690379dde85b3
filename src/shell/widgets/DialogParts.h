#pragma once
// The controls the dialogs are built from. Dialogs place their controls at fixed pixel positions
// made for the fonts of UiFonts, and name each one so that tests and the window's own code can
// find it by objectName. Each function makes one control as a child of `parent`. Buttons made
// here never become the default button by taking the focus, so Return always presses the button
// the dialog made its default. GUI thread only.

#include <QColor>
#include <QRect>
#include <QString>

#include "shell/widgets/ImageButton.h"

class QFrame;
class QIcon;
class QLabel;
class QLineEdit;
class QPixmap;
class QWidget;

namespace vlt {

// A text label at `place`.
QLabel* makeLabel(QWidget* parent, const char* name, const QRect& place, const QString& text);

// The dialog's header banner (see Banners.h), named "banner", in its top-left corner and as large
// as the picture.
QLabel* makeBanner(QWidget* parent, const QPixmap& banner);

// A one-line field whose text is masked with "*", as every masked field of the program; see
// SetPasswordMask to show the text. Call wipeField before the dialog goes.
QLineEdit* makeMaskedField(QWidget* parent, const char* name, const QRect& place,
                           const QString& tip);

// Flag 1 masks the field's text, any other value shows it.
void SetPasswordMask(QLineEdit* field, int flag);

// Overwrites the whole buffer of `text` (its characters and any spare room around them, which
// may hold earlier ones) when nothing else shares it; what another copy still holds, such as the
// clipboard's, is left alone. Returns whether it was overwritten.
bool wipeUnshared(QString& text);

// Empties the field (which also drops its undo history), then wipes the characters it held with
// wipeUnshared. Qt offers no way to reach copies it made while the text was typed. Null is
// ignored.
void wipeField(QLineEdit* field);

// A small button that shows a 16x16 icon and no text.
QPushButton* makeIconButton(QWidget* parent, const char* name, const QRect& place,
                            const QIcon& icon, const QString& tip);

// A dialog's command button (Accept, Cancel, ...) with its image beside the text.
ImageButton* makeImageButton(QWidget* parent, const char* name, const QRect& place,
                             const QString& text, const QIcon& icon, const QString& tip);

// A sunken horizontal rule across the band at (x, y) of width x height.
QFrame* SeparatorGadget(QWidget* parent, int x, int y, int width, int height);

// Underlined link text in `color` at (x, y), as wide as the text in the parent's font plus 2
// pixels and `height` high. A click emits the label's linkActivated signal.
QLabel* HyperLinkGadget(QWidget* parent, int x, int y, int height, const QString& text,
                        const QColor& color);

}  // namespace vlt
