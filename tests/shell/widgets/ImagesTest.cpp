// The program's icon tables, the dialog banners and the drawing helpers they are made with.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <set>

#include "shell/widgets/Banners.h"
#include "shell/widgets/IconCatalog.h"
#include "shell/widgets/Painting.h"

namespace vlt {
namespace {

QImage iconImage(const QIcon& icon) {
    return icon.pixmap(QSize(16, 16)).toImage();
}

void expectTableComplete(const QIcon& (*table)(int), int count, const char* name) {
    for (int i = 0; i < count; ++i) {
        const QIcon& icon = table(i);
        ASSERT_FALSE(icon.isNull()) << name << " icon " << i;
        const QList<QSize> sizes = icon.availableSizes();
        ASSERT_EQ(sizes.size(), 1) << name << " icon " << i;
        EXPECT_EQ(sizes.front(), QSize(16, 16)) << name << " icon " << i;
        EXPECT_FALSE(iconImage(icon).isNull()) << name << " icon " << i;
    }
    EXPECT_TRUE(table(-1).isNull()) << name;
    EXPECT_TRUE(table(count).isNull()) << name;
    EXPECT_TRUE(table(1000000).isNull()) << name;
}

TEST(IconCatalog, EveryIndexOfEveryTableLoadsA16x16Picture) {
    expectTableComplete(MenuIcon, kMenuIconCount, "menu");
    expectTableComplete(GroupIcon, kGroupIconCount, "group");
    expectTableComplete(ButtonIcon, kButtonIconCount, "button");
}

TEST(IconCatalog, GroupIconsAreAllDifferentPictures) {
    std::set<QByteArray> seen;
    for (int i = 0; i < kGroupIconCount; ++i) {
        const QImage image = iconImage(GroupIcon(i)).convertToFormat(QImage::Format_ARGB32);
        const QByteArray bits(reinterpret_cast<const char*>(image.constBits()),
                              static_cast<qsizetype>(image.sizeInBytes()));
        EXPECT_TRUE(seen.insert(bits).second) << "group icon " << i << " repeats an earlier one";
    }
}

TEST(IconCatalog, AcceptAndCancelImagesDiffer) {
    EXPECT_NE(iconImage(ButtonIcon(0)), iconImage(ButtonIcon(1)));
}

QRgb rgbOf(Rgb c) {
    return qRgb(c.r, c.g, c.b);
}

TEST(CreateColorImage, VerticalGradientRunsByRowsFromTheFirstColour) {
    const QImage image = CreateColorImage(5, 4, Rgb{100, 0, 200}, Rgb{0, 100, 0}, true);
    ASSERT_EQ(image.size(), QSize(5, 4));
    // Row i: first - i * (first - second) / 4, rounded.
    const QRgb rows[4] = {qRgb(100, 0, 200), qRgb(75, 25, 150), qRgb(50, 50, 100),
                          qRgb(25, 75, 50)};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(image.pixel(x, y), rows[y]) << x << "," << y;
        }
    }
}

TEST(CreateColorImage, HorizontalGradientRunsByColumns) {
    const QImage image = CreateColorImage(2, 3, Rgb{200, 200, 200}, Rgb{0, 0, 0}, false);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(image.pixel(0, y), qRgb(200, 200, 200));
        EXPECT_EQ(image.pixel(1, y), qRgb(100, 100, 100));
    }
}

TEST(CreateColorImage, EmptySizeGivesNullImage) {
    EXPECT_TRUE(CreateColorImage(0, 40, Rgb{}, Rgb{}, true).isNull());
    EXPECT_TRUE(CreateColorImage(10, -1, Rgb{}, Rgb{}, false).isNull());
}

TEST(DrawShadowText, BlackShadowLiesOnePixelRightAndBelowTheText) {
    QImage image(60, 30, QImage::Format_RGB32);
    image.fill(qRgb(128, 128, 128));
    QPainter painter(&image);
    QFont font;
    font.setPixelSize(16);
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    DrawShadowText(painter, 5, 5, QStringLiteral("IH"), Qt::white);
    painter.end();

    QRect white;
    QRect black;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == qRgb(255, 255, 255)) {
                white |= QRect(x, y, 1, 1);
            } else if (image.pixel(x, y) == qRgb(0, 0, 0)) {
                black |= QRect(x, y, 1, 1);
            }
        }
    }
    ASSERT_FALSE(white.isEmpty());
    ASSERT_FALSE(black.isEmpty());
    EXPECT_EQ(black.left(), white.left() + 1);
    EXPECT_EQ(black.top(), white.top() + 1);
    EXPECT_EQ(black.right(), white.right() + 1);
    EXPECT_EQ(black.bottom(), white.bottom() + 1);
    // The text's line starts at y = 5: the glyphs sit below that, not above.
    EXPECT_GE(white.top(), 5);
}

TEST(Banner, EveryBannerRunsFromTheTopColourToTheBottomRow) {
    EXPECT_TRUE(Banner(-1).isNull());
    EXPECT_TRUE(Banner(kBannerCount).isNull());
    for (int i = 0; i < kBannerCount; ++i) {
        const QImage image = Banner(i).toImage();
        ASSERT_EQ(image.height(), 40) << "banner " << i;
        const int right = image.width() - 1;
        // No text reaches the corners.
        EXPECT_EQ(image.pixel(0, 0), qRgb(65, 140, 235)) << "banner " << i;
        EXPECT_EQ(image.pixel(right, 0), qRgb(65, 140, 235)) << "banner " << i;
        // Row 39 of 40: 65 - 39 * 40 / 40, 140 - 39 * 65 / 40, 235 - 39 * 50 / 40, rounded.
        EXPECT_EQ(image.pixel(0, 39), qRgb(26, 77, 186)) << "banner " << i;
        EXPECT_EQ(image.pixel(right, 39), qRgb(26, 77, 186)) << "banner " << i;
        EXPECT_EQ(image.pixel(right / 2, 39),
                  rgbOf(GradientSteps(kBannerTop, kBannerBottom, 40)[39]));
    }
}

// Counts the pixels whose colour is not the gradient's colour of their row.
int textPixels(const QImage& image, QRect area) {
    const std::vector<Rgb> rows = GradientSteps(kBannerTop, kBannerBottom, kBannerHeight);
    int count = 0;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.pixel(x, y) != rgbOf(rows[static_cast<std::size_t>(y)]) ? 1 : 0;
        }
    }
    return count;
}

TEST(Banner, TitleAndSubtitleAreDrawnAndFitTheBanner) {
    for (int i = 0; i < kBannerCount; ++i) {
        const QImage image = Banner(i).toImage();
        const int w = image.width();
        EXPECT_GT(textPixels(image, QRect(10, 7, w - 10, 13)), 20) << "title of banner " << i;
        EXPECT_GT(textPixels(image, QRect(10, 21, w - 10, 13)), 20) << "subtitle of " << i;
        // The lines start at x 10 and end before the right edge: nothing is cut off.
        EXPECT_EQ(textPixels(image, QRect(0, 0, 9, 40)), 0) << "banner " << i;
        EXPECT_EQ(textPixels(image, QRect(w - 4, 0, 4, 40)), 0) << "banner " << i;
        // Rows above the title and below the subtitle stay clear.
        EXPECT_EQ(textPixels(image, QRect(0, 0, w, 6)), 0) << "banner " << i;
        EXPECT_EQ(textPixels(image, QRect(0, 36, w, 4)), 0) << "banner " << i;
    }
}

TEST(MakeBanner, DrawsTheCallersTexts) {
    const QImage plain = MakeBanner(370, QString(), QString()).toImage();
    const QImage titled = MakeBanner(370, QStringLiteral("Save container"),
                                     QStringLiteral("Please wait while the file is saved..."))
                              .toImage();
    ASSERT_EQ(plain.size(), QSize(370, 40));
    EXPECT_EQ(textPixels(plain, plain.rect()), 0);
    EXPECT_GT(textPixels(titled, QRect(10, 7, 360, 13)), 20);
    EXPECT_GT(textPixels(titled, QRect(10, 21, 360, 13)), 20);
    EXPECT_TRUE(MakeBanner(0, QStringLiteral("x"), QStringLiteral("y")).isNull());
}

}  // namespace
}  // namespace vlt
