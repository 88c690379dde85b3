#pragma once
// The blue header banners at the top of the dialogs: a vertical gradient, 40 pixels high, with a
// bold title and a one-line subtitle in white with a black shadow. GUI thread only.

#include <QPixmap>
#include <QString>

#include "engine/text/Misc.h"

namespace vlt {

inline constexpr int kBannerHeight = 40;
inline constexpr Rgb kBannerTop{65, 140, 235};
inline constexpr Rgb kBannerBottom{25, 75, 185};

// The dialog banners, by index.
enum BannerIndex : int {
    kBannerAddGroup = 0,
    kBannerEditGroup = 1,
    kBannerAddEntry = 2,
    kBannerEditEntry = 3,
    kBannerSearch = 4,
    kBannerMassModify = 5,
    kBannerPluginManager = 6,
    kBannerSaveContainer = 7,
    kBannerOpenContainer = 8,
    kBannerChangePassword = 9,
    kBannerExportData = 10,
    kBannerImportData = 11,
    kBannerConfigure = 12,
    kBannerCount = 13,
};

// A banner `width` pixels wide: the title at (10, 7) in the bold font, the subtitle at (10, 21)
// in the normal font.
QPixmap MakeBanner(int width, const QString& title, const QString& subtitle);

// Dialog banner `index`, drawn on first use and kept until the application object goes away; a
// null pixmap for an index outside 0..12.
const QPixmap& Banner(int index);

}  // namespace vlt
