#pragma once
// The faces of the keys: a raised or pressed frame in the desktop's button colours, with the
// label centred on it.

#include <QFont>
#include <QImage>
#include <QPalette>
#include <QString>
#include <array>

#include "KeyTable.h"

namespace tapboard {

class KeyFaces {
  public:
    KeyFaces(const QPalette& palette, const QFont& font);

    // The face of a key of `kind` showing `label`, up (state 0) or down (state 1).
    QImage make(const QString& label, int kind, int state) const;

  private:
    QPalette palette_;
    QFont font_;
    std::array<QImage, 2 * kKindCount> templates_;  // kind * 2 + state
};

}  // namespace tapboard
