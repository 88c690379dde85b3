// The icon-and-text push button: where it draws its icon and how its states look.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QPixmap>

#include "shell/widgets/ImageButton.h"
#include "shell/widgets/UiFonts.h"

namespace vlt {
namespace {

QIcon solidIcon(QColor color) {
    QPixmap picture(16, 16);
    picture.fill(color);
    return QIcon(picture);
}

// The bounding box of the pixels of exactly that colour.
QRect areaOf(const QImage& image, QRgb color) {
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == color) {
                area |= QRect(x, y, 1, 1);
            }
        }
    }
    return area;
}

class ImageButtonTest : public ::testing::Test {
  protected:
    ImageButtonTest() : button(QStringLiteral("Accept"), solidIcon(Qt::red)) {
        button.setFont(UiFonts::normal());
        button.resize(100, 25);
    }
    QImage render() { return button.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    ImageButton button;
};

TEST_F(ImageButtonTest, IconSitsTenPixelsInAndCentred) {
    // y = (25 - 16) / 2 + 1
    EXPECT_EQ(areaOf(render(), qRgb(255, 0, 0)), QRect(10, 5, 16, 16));
}

TEST_F(ImageButtonTest, PressedButtonShiftsIconOnePixelRightAndDown) {
    button.setDown(true);
    EXPECT_EQ(areaOf(render(), qRgb(255, 0, 0)), QRect(11, 6, 16, 16));
}

TEST_F(ImageButtonTest, DisabledButtonLooksDifferentWithGreyedIcon) {
    const QImage enabled = render();
    button.setEnabled(false);
    const QImage disabled = render();
    EXPECT_NE(enabled, disabled);
    EXPECT_TRUE(areaOf(disabled, qRgb(255, 0, 0)).isEmpty()) << "the icon is not greyed";
    // The text still shows: some pixels right of the icon differ from the button face.
    const QRect textArea(36, 5, 50, 15);
    EXPECT_NE(enabled.copy(textArea), disabled.copy(textArea));
}

// Pixels of the text colour along the line 4 pixels inside the top edge, clear of icon and text.
int focusLinePixels(const QImage& image, QColor color) {
    int count = 0;
    for (int x = 4; x < image.width() - 4; ++x) {
        count += image.pixel(x, 4) == color.rgb() ? 1 : 0;
    }
    return count;
}

TEST_F(ImageButtonTest, PressedAndFocusedButtonsGetAFocusRectangle) {
    const QColor ink = button.palette().color(QPalette::ButtonText);
    EXPECT_EQ(focusLinePixels(render(), ink), 0);
    button.setDown(true);
    EXPECT_GT(focusLinePixels(render(), ink), 20);
    button.setDown(false);

    QWidget window;
    button.setParent(&window);
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    button.setFocus();
    ASSERT_TRUE(button.hasFocus());
    EXPECT_GT(focusLinePixels(render(), ink), 20);
    button.setEnabled(false);
    EXPECT_EQ(focusLinePixels(render(), ink), 0) << "a disabled button shows no focus";
    button.setParent(nullptr);
}

TEST_F(ImageButtonTest, TextIsDrawnRightOfTheIcon) {
    ImageButton blank(QString(), solidIcon(Qt::red));
    blank.setFont(UiFonts::normal());
    blank.resize(100, 25);
    const QImage withText = render();
    const QImage withoutText = blank.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(withText.copy(0, 0, 36, 25), withoutText.copy(0, 0, 36, 25));
    EXPECT_NE(withText.copy(36, 0, 64, 25), withoutText.copy(36, 0, 64, 25));
}

TEST_F(ImageButtonTest, HoverMakesTheButtonHotUntilTheMouseLeaves) {
    EXPECT_FALSE(button.isHot());
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &enter);
    EXPECT_TRUE(button.isHot());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_FALSE(button.isHot());
}

TEST(ImageButtonLayouts, IconAndTextGoWhereTheLayoutSays) {
    // A 120 x 60 button, a 16 x 16 icon, a 40 x 14 text in an 11-pixel font.
    const QSize size(120, 60);
    const QSize icon(16, 16);
    const QSize text(40, 14);
    struct Case {
        ImageLayout layout;
        QRect icon;
        QRect text;
    };
    const Case cases[] = {
        {ImageLayout::IconAbove, QRect(52, 11, 16, 16), QRect(40, 36, 40, 14)},
        {ImageLayout::IconRight, QRect(94, 22, 16, 16), QRect(44, 23, 40, 14)},
        {ImageLayout::IconBelow, QRect(52, 37, 16, 16), QRect(40, 11, 40, 14)},
        {ImageLayout::IconLeft, QRect(10, 23, 16, 16), QRect(36, 23, 40, 14)},
    };
    for (const Case& c : cases) {
        const ImageButtonPlaces places = placeImageButton(c.layout, size, icon, text, 11);
        EXPECT_EQ(places.icon, c.icon) << static_cast<int>(c.layout);
        EXPECT_EQ(places.text, c.text) << static_cast<int>(c.layout);
    }

    // Drawn: the icon exactly there, the text's ink inside its rectangle, for the new layouts.
    for (const ImageLayout layout :
         {ImageLayout::IconAbove, ImageLayout::IconRight, ImageLayout::IconBelow}) {
        ImageButton button(QStringLiteral("Wide text"), solidIcon(Qt::red), nullptr, layout);
        button.setFont(UiFonts::normal());
        QPalette palette = button.palette();
        palette.setColor(QPalette::ButtonText, Qt::blue);
        button.setPalette(palette);
        button.resize(size);
        const QFontMetrics metrics(button.font());
        const ImageButtonPlaces places =
            placeImageButton(layout, size, icon, metrics.size(Qt::TextSingleLine, button.text()),
                             QFontInfo(button.font()).pixelSize());
        const QImage image = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(areaOf(image, qRgb(255, 0, 0)), places.icon) << static_cast<int>(layout);
        const QRect ink = areaOf(image, qRgb(0, 0, 255));
        EXPECT_FALSE(ink.isEmpty());
        EXPECT_TRUE(places.text.contains(ink)) << static_cast<int>(layout);
        EXPECT_FALSE(places.icon.intersects(places.text)) << static_cast<int>(layout);
    }
}

TEST_F(ImageButtonTest, TextLongerThan1023CharactersIsCut) {
    ImageButton longer(QString(2000, QLatin1Char('W')), solidIcon(Qt::red));
    ImageButton limit(QString(ImageButton::kMaxTextLength, QLatin1Char('W')), solidIcon(Qt::red));
    ImageButton shorter(QString(ImageButton::kMaxTextLength - 1, QLatin1Char('W')),
                        solidIcon(Qt::red));
    EXPECT_EQ(longer.sizeHint(), limit.sizeHint());
    EXPECT_GT(limit.sizeHint().width(), shorter.sizeHint().width());
    // Drawing such a text must not fail either.
    longer.resize(100, 25);
    EXPECT_FALSE(longer.grab().isNull());
}

}  // namespace
}  // namespace vlt
