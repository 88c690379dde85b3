#pragma once
// The green band at the top of every plugin window.

#include <QImage>
#include <QString>
#include <cstdint>

// A width x height image shaded from colour1 to colour2 (0x00BBGGRR) in `count` steps (count =
// height when direction is nonzero, rows top to bottom; else width, columns left to right). The
// last step stops one short of colour2. A null image when it cannot be created.
QImage CreateGradientImage(int width, int height, std::uint32_t colour1, std::uint32_t colour2,
                           int direction);

// The band itself: width x 40, the title in bold at (10, 7) and the line under it at (10, 21),
// white with a black shadow one pixel right and down.
QImage HeaderBand(int width, const QString& title, const QString& subtitle);
