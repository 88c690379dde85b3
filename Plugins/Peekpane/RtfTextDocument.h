#pragma once
// Turns a read RTF document into Qt's rich text: one block per paragraph, one character format
// per run.

#include <QFont>

#include "RtfDocument.h"

class QTextDocument;

namespace vlt::peekpane {

// Replaces the content of `document`. Runs without a font of their own use `base`'s families.
void FillTextDocument(QTextDocument& document, const RtfDocument& rtf, const QFont& base);

}  // namespace vlt::peekpane
