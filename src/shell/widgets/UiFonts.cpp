#include "shell/widgets/UiFonts.h"

#include <QStringList>

namespace vlt::UiFonts {

namespace {

constexpr int kNormalPixels = 11;
constexpr int kSmallPixels = 9;

QFont makeFont(int pixels, bool isBold) {
    QFont font;
    // Faces with Arial's metrics first; fontconfig's sans-serif face is the last resort.
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Arial"), QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif, QFont::PreferQuality);
    font.setPixelSize(pixels);
    font.setBold(isBold);
    return font;
}

}  // namespace

QFont normal() {
    return makeFont(kNormalPixels, false);
}
QFont bold() {
    return makeFont(kNormalPixels, true);
}
QFont small() {
    return makeFont(kSmallPixels, false);
}

}  // namespace vlt::UiFonts
