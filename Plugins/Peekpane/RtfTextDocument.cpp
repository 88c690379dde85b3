#include "RtfTextDocument.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "QtUtf16.h"

namespace vlt::peekpane {

namespace {

QTextCharFormat charFormat(const RtfDocument& rtf, const RtfFormat& format, const QFont& base) {
    QTextCharFormat out;
    const auto font = rtf.fonts.find(format.font);
    out.setFontFamilies({font != rtf.fonts.end() ? qs(font->second) : base.family()});
    out.setFontPointSize(format.halfPoints / 2.0);
    out.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    out.setFontItalic(format.italic);
    out.setFontUnderline(format.underline);
    out.setFontStrikeOut(format.strike);
    if (format.color > 0 && static_cast<std::size_t>(format.color) < rtf.colors.size()) {
        const RtfColor& color = rtf.colors[static_cast<std::size_t>(format.color)];
        if (!color.automatic) {
            out.setForeground(QColor(color.red, color.green, color.blue));
        }
    }
    return out;
}

}  // namespace

void FillTextDocument(QTextDocument& document, const RtfDocument& rtf, const QFont& base) {
    document.clear();
    QTextCursor cursor(&document);
    bool first = true;
    for (const RtfParagraph& paragraph : rtf.paragraphs) {
        if (!first) {
            cursor.insertBlock();
        }
        first = false;
        for (const RtfRun& run : paragraph.runs) {
            cursor.insertText(qs(run.text), charFormat(rtf, run.format, base));
        }
    }
}

std::unique_ptr<QTextDocument> PreviewDocument(PreviewMode mode, const QString& text,
                                               const QFont& base) {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(base);
    // Nothing typed in a preview is kept, so there is nothing to undo back to.
    document->setUndoRedoEnabled(false);
    if (mode == RtfMode) {
        FillTextDocument(*document, ReadRtf(text.toStdU16String()), base);
    } else {
        document->setPlainText(text);
    }
    document->setUndoRedoEnabled(true);
    return document;
}

}  // namespace vlt::peekpane
