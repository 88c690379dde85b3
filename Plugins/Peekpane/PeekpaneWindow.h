#pragma once
// The previewer's window: a rich-text editor filling a resizable window, with a popup menu for
// the font, select all, copy and word wrap.

#include <QDialog>
#include <QFont>

#include "PreviewMode.h"

class QAction;
class QMenu;
class QTextDocument;
class QTextEdit;

namespace vlt::peekpane {

class PeekpaneWindow : public QDialog {
    Q_OBJECT

  public:
    // Shows `document` (see PreviewDocument), which the window takes over; it must live on the
    // GUI thread by now.
    PeekpaneWindow(PreviewMode mode, QTextDocument* document);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void changeFont();
    void toggleWrap();

    QTextEdit* editor_;
    QMenu* menu_;
    QAction* wrap_;
    // The font dialog's choices, applied to the whole text.
    QFont font_;
    QColor color_;
};

}  // namespace vlt::peekpane
