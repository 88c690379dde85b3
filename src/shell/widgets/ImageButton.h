#pragma once
// A push button that draws a 16x16 icon and its text in one of four layouts; every dialog uses
// IconLeft: the icon 10 pixels from the left edge and vertically centred, the text 20 pixels
// right of the icon. The bevel
// comes from the current QStyle, so the button follows the desktop's style; icon and text shift
// one pixel right and down while pressed, the icon is greyed and the text engraved while
// disabled, and a pressed or focused button gets a focus rectangle 4 pixels inside its edge.

#include <QPushButton>

namespace vlt {

// Where the icon goes relative to the text; the numbers are the stored layout numbers.
enum class ImageLayout { IconAbove = 0, IconRight = 1, IconBelow = 2, IconLeft = 3 };

// The icon's and the text's rectangles in a button of `button` size, for an icon of `icon`
// size and a text measured as `text` in a font `fontHeight` pixels high.
struct ImageButtonPlaces {
    QRect icon;
    QRect text;
};
ImageButtonPlaces placeImageButton(ImageLayout layout, QSize button, QSize icon, QSize text,
                                   int fontHeight);

class ImageButton : public QPushButton {
    Q_OBJECT

  public:
    // At most this many characters of the text are drawn.
    static constexpr int kMaxTextLength = 1023;

    ImageButton(const QString& text, const QIcon& icon, QWidget* parent = nullptr,
                ImageLayout layout = ImageLayout::IconLeft);

    ImageLayout imageLayout() const { return layout_; }

    // True while the mouse is over the button.
    bool isHot() const { return hot_; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    ImageLayout layout_;
    bool hot_ = false;
};

}  // namespace vlt
