#pragma once
// The three fonts of the program's windows. The layouts place every control at fixed pixel
// positions made for an 8-point face of about 11 pixels; Liberation Sans (metric-compatible with
// Arial, Debian's fonts-liberation) at that pixel size keeps the texts inside those places. Sizes
// are in pixels, so the layouts hold at any DPI setting; Qt scales them on high-DPI screens.

#include <QFont>

namespace vlt::UiFonts {

// The default font of every control (font 0).
QFont normal();
// Banner titles and emphasised labels (font 1).
QFont bold();
// Fine print, such as the about box's description (font 2).
QFont small();

}  // namespace vlt::UiFonts
