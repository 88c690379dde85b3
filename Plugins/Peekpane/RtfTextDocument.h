#pragma once
// The previewer's text document: the attachment as plain text, or a read RTF document turned
// into Qt's rich text (one block per paragraph, one character format per run).

#include <QFont>
#include <QString>
#include <memory>

#include "PreviewMode.h"
#include "RtfDocument.h"

class QTextDocument;

namespace vlt::peekpane {

// Replaces the content of `document`. Runs without a font of their own use `base`'s families.
void FillTextDocument(QTextDocument& document, const RtfDocument& rtf, const QFont& base);

// The document a preview shows: `text` as plain text, or read as RTF in RTF mode, in `base` where
// it names no font of its own. It has no parent and no layout yet, so any thread may build it
// (a large one takes seconds) and then hand it to the GUI thread.
std::unique_ptr<QTextDocument> PreviewDocument(PreviewMode mode, const QString& text,
                                               const QFont& base);

}  // namespace vlt::peekpane
