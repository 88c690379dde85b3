#pragma once
// What the tool plugins' windows share: the fixed-size window with its header band, icons from
// the embedded icon files, message boxes that survive the host's quit, and the password mask.
// GUI thread only.

#include <QDialog>
#include <QIcon>
#include <QMessageBox>
#include <QString>

class QLineEdit;
class QPushButton;
class QRect;

namespace vlt::tools {

// An icon from an embedded icon file.
QIcon embeddedIcon(const unsigned char* data, int size);

template <std::size_t N>
QIcon embeddedIcon(const unsigned char (&data)[N]) {
    return embeddedIcon(data, static_cast<int>(N));
}

// The plugins' controls' font.
QFont toolFont();
// The fixed-pitch font of password fields and text previews.
QFont consoleFont(int points);

// Makes `window` a window of fixed client size, centred on the screen, with a minimise button
// and no sizing border, and puts the header band (title and line) and the separator under it
// across its top.
void setUpToolWindow(QDialog* window, int width, int height, const QString& title,
                     const QIcon& icon, const QString& bandTitle, const QString& bandLine);

// A sunken horizontal rule.
void addSeparator(QWidget* parent, const QRect& place);

// A 25x25 button with a 16x16 icon and a tooltip.
QPushButton* addIconButton(QWidget* parent, const char* name, const QRect& place, const QIcon& icon,
                           const QString& tip);

// Runs `dialog` (made with new, a child of a tool window) modal to its window and deletes it.
// Returns its result, or -1 when the window and the dialog went while it was open (the host
// asked the tool to quit); the caller must not touch the window then.
int execGuarded(QDialog* dialog);

// Shows a message box over `parent` and returns the button pressed. When the parent goes while
// the box is open (the host asked the tool to quit) it returns QMessageBox::NoButton and the
// caller must not touch the parent any more.
QMessageBox::StandardButton showMessage(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// A one-line field that shows "*" for every character while masked (it starts masked).
QLineEdit* addMaskedField(QWidget* parent, const char* name, const QRect& place);

// The password field's hide/show button. Unmasking asks first; masking does not. `masked` is
// the window's mask flag. Returns false when the window went while the question was open.
bool toggleMask(QLineEdit* field, bool& masked);

// Empties the field and overwrites the characters it held, unless something else (the
// clipboard) still shares them.
void wipeField(QLineEdit* field);

}  // namespace vlt::tools
