#pragma once
// The boss key: a hot key (Ctrl, Alt or Shift with a digit) that hides the main window and shows
// it again, from whatever program has the focus. On X11 it is grabbed on the root window, once
// for each state of NumLock and CapsLock, and read by a native event filter; other display
// servers offer no such grab, and the key is then unavailable. GUI thread only.

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace vlt {

class BossKey : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

  public:
    // The key hides and shows `window`, which outlives this object.
    explicit BossKey(QWidget& window, QObject* parent = nullptr);
    ~BossKey() override;

    // Whether this display can grab a hot key at all.
    static bool available();

    // Releases the key held so far, then grabs `modifier` (0 Ctrl, 1 Alt, 2 Shift) with the digit
    // (0 to 9). False when the display refused the grab (another program holds the key) or there
    // is no X11 display; `lastError` then says why.
    bool grab(int modifier, int digit);
    // Releases the key; nothing when none is held.
    void ungrab();
    // The key of the settings: grabbed when `on` and the display can grab keys, else released.
    // The first refusal of the run goes to `reportRefusal`.
    void apply(bool on, int modifier, int digit);
    std::function<void(const QString& reason)> reportRefusal;
    bool isGrabbed() const { return keycode_ != 0; }
    const QString& lastError() const { return lastError_; }

    // Hides the window when the key has not hidden it, else shows it again.
    void toggle();
    // Whether the key has hidden the window.
    bool hidWindow() const { return hidden_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  signals:
    void pressed();

  private:
    QWidget& window_;
    bool hidden_ = false;
    bool reported_ = false;
    unsigned keycode_ = 0;    // 0 while no key is grabbed
    unsigned modifiers_ = 0;  // the X modifier mask of the grabbed key
    QString lastError_;
};

}  // namespace vlt
