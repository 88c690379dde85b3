#include "shell/widgets/LinkTextEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextDocument>

#include "engine/text/LinkFinder.h"
#include "shell/app/QtText.h"

namespace vlt {

namespace {

// Underlines the addresses of each line in the link colour.
class LinkHighlighter : public QSyntaxHighlighter {
  public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

  protected:
    void highlightBlock(const QString& text) override {
        QTextCharFormat link;
        link.setForeground(QColor(0, 0, 255));
        link.setFontUnderline(true);
        for (const FoundLink& found : FindLinks(u16s(text))) {
            setFormat(static_cast<int>(found.start), static_cast<int>(found.length), link);
        }
    }
};

}  // namespace

LinkTextEdit::LinkTextEdit(QWidget* parent, const char* name, bool oneLine)
    : QPlainTextEdit(parent), oneLine_(oneLine) {
    setObjectName(QLatin1String(name));
    setTabChangesFocus(true);
    new LinkHighlighter(document());
    if (oneLine) {
        setLineWrapMode(QPlainTextEdit::NoWrap);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        document()->setDocumentMargin(1);
    }
}

QString LinkTextEdit::text() const {
    // The raw text keeps what the user typed (toPlainText would turn no-break spaces into
    // blanks); only the breaks between lines are read as line feeds.
    QString plain = document()->toRawText();
    plain.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    plain.replace(QChar::LineSeparator, QLatin1Char('\n'));
    if (oneLine_) {
        plain.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    return plain;
}

void LinkTextEdit::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    if (oneLine_ &&
        (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)) {
        selectAll();
    }
}

void LinkTextEdit::keyPressEvent(QKeyEvent* event) {
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (oneLine_ && lineBreak) {
        event->ignore();  // the dialog's default button takes it
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void LinkTextEdit::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || textCursor().hasSelection() || !linkClicked) {
        return;
    }
    const QTextCursor at = cursorForPosition(event->position().toPoint());
    const std::u16string line = u16s(at.block().text());
    const auto column = static_cast<std::size_t>(at.positionInBlock());
    for (const FoundLink& found : FindLinks(line)) {
        if (column >= found.start && column < found.start + found.length) {
            linkClicked(line.substr(found.start, found.length), found.url);
            setFocus();
            return;
        }
    }
}

}  // namespace vlt
