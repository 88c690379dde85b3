#pragma once
// The keyboard window: 79 keys that type into whichever window has the keyboard focus. It stays
// on top and never takes the focus itself, so the window being typed into keeps it.

#include <QDialog>
#include <QImage>
#include <QTimer>
#include <array>
#include <memory>
#include <vector>

#include "KeyFaces.h"
#include "KeyboardLayouts.h"
#include "LayoutChoice.h"
#include "X11Keyboard.h"

namespace tapboard {

class KeyboardWindow : public QDialog {
  public:
    KeyboardWindow(std::vector<KeyboardLayout> layouts, std::unique_ptr<X11Keyboard> x11,
                   const QImage& icon);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    struct KeyButton {
        QString Label;
        int State = 0;
        QImage ImageUp;
        QImage ImageDown;
    };

    // Follows Shift, Caps Lock and layout changes made on the real keyboard.
    void poll();
    // Chooses the file's layout for the current keyboard layout, takes its codes and relabels
    // the character keys.
    void applyKeyboardLayout();
    void sendKey(int number);
    void toggleKey(int number);
    // Shows key `number` up or down; -1 means every key that is not sticky.
    void setKeyDown(int number, int state);
    void setKeyLabel(int number, const QString& label);
    void showMissingLayout(std::int32_t id);

    std::vector<KeyboardLayout> layouts_;
    LayoutChoice choice_;
    std::unique_ptr<X11Keyboard> x11_;
    KeyFaces faces_;
    std::array<KeyButton, kKeyCount> keys_;
    std::array<std::uint8_t, kKeyCount> keyMap_{};
    bool capsLockOn_ = false;
    bool shiftOn_ = false;
    int group_ = 0;
    int lastKey_ = -1;
    QTimer poller_;
};

}  // namespace tapboard
