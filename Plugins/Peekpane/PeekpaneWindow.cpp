#include "PeekpaneWindow.h"

#include <QAction>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFontDialog>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "ToolWindow.h"

extern const unsigned char kPeekpaneIcon[1150];
extern const unsigned char kFontIcon[1150];
extern const unsigned char kSelectAllIcon[1150];
extern const unsigned char kCopyIcon[1150];

namespace vlt::peekpane {

namespace {

constexpr int kWidth = 455;
constexpr int kHeight = 315;

}  // namespace

PeekpaneWindow::PeekpaneWindow(PreviewMode mode, QTextDocument* document)
    : editor_(new QTextEdit(this)),
      menu_(new QMenu(this)),
      wrap_(nullptr),
      font_(tools::consoleFont(10)),
      color_(Qt::black) {
    setObjectName(QStringLiteral("peekpaneWindow"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromStdU16String(PreviewTitle(mode)));
    setWindowIcon(tools::embeddedIcon(kPeekpaneIcon));
    setMinimumSize(320, 200);
    resize(kWidth, kHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - QPoint(kWidth / 2, kHeight / 2));
    }

    editor_->setObjectName(QStringLiteral("previewEditor"));
    editor_->setFont(font_);
    editor_->setLineWrapMode(QTextEdit::WidgetWidth);
    editor_->setContextMenuPolicy(Qt::NoContextMenu);
    editor_->setGeometry(rect());
    document->setParent(editor_);
    editor_->setDocument(document);  // its cursor starts at the top, in both modes

    QAction* font = menu_->addAction(tools::embeddedIcon(kFontIcon), QStringLiteral("Change Font"),
                                     this, &PeekpaneWindow::changeFont);
    font->setObjectName(QStringLiteral("changeFont"));
    // The document's own fonts are what an RTF preview is for.
    font->setEnabled(mode == TextMode);
    menu_->addSeparator();
    menu_->addAction(tools::embeddedIcon(kSelectAllIcon), QStringLiteral("Select All"), editor_,
                     &QTextEdit::selectAll);
    menu_->addAction(tools::embeddedIcon(kCopyIcon), QStringLiteral("Copy to Clipboard"), editor_,
                     &QTextEdit::copy);
    menu_->addSeparator();
    wrap_ = menu_->addAction(QStringLiteral("Word wrap"), this, &PeekpaneWindow::toggleWrap);
    wrap_->setObjectName(QStringLiteral("wordWrap"));
    wrap_->setCheckable(true);
    wrap_->setChecked(true);
    menu_->setObjectName(QStringLiteral("previewMenu"));
}

void PeekpaneWindow::resizeEvent(QResizeEvent* event) {
    editor_->setGeometry(rect());
    QDialog::resizeEvent(event);
}

void PeekpaneWindow::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
}

void PeekpaneWindow::toggleWrap() {
    // The action has already flipped its check mark.
    editor_->setLineWrapMode(wrap_->isChecked() ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

void PeekpaneWindow::changeFont() {
    // Qt's font dialog has the effects but no colour, so the colour is asked for next.
    // The dialog starts on the face the text really shows, a stand-in when the named one is
    // missing.
    QFont shown = font_;
    shown.setFamily(QFontInfo(font_).family());
    QFont chosen = shown;
    auto* fonts = new QFontDialog(shown, this);
    connect(fonts, &QFontDialog::fontSelected, this, [&chosen](const QFont& f) { chosen = f; });
    if (tools::execGuarded(fonts) != QDialog::Accepted) {
        return;
    }
    QColor colour = color_;
    auto* colours = new QColorDialog(color_, this);
    connect(colours, &QColorDialog::colorSelected, this,
            [&colour](const QColor& c) { colour = c; });
    if (tools::execGuarded(colours) < 0) {
        return;
    }
    font_ = chosen;
    color_ = colour;

    QTextCharFormat format;
    format.setForeground(color_);
    format.setFontFamilies({font_.family()});
    format.setFontPointSize(font_.pointSizeF());
    format.setFontWeight(font_.bold() ? QFont::Bold : QFont::Normal);
    format.setFontItalic(font_.italic());
    format.setFontUnderline(font_.underline());
    format.setFontStrikeOut(font_.strikeOut());
    QTextCursor cursor(editor_->document());
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(format);
}

}  // namespace vlt::peekpane
