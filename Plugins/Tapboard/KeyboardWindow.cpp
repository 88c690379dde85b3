#include "KeyboardWindow.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "VirtualKeys.h"

namespace tapboard {

namespace {

constexpr int kPollMilliseconds = 30;

QFont keyFont() {
    // The labels were drawn for a narrow sans serif; a wide one crowds "CapsLk" and "Bkspc".
    QFont font;
    font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(9);
    font.setBold(true);
    return font;
}

constexpr int kCapsLockKey = 45;
constexpr int kShiftKey = 60;
constexpr int kCtrlKey = 75;

// The sticky keys always press the left-hand modifiers, whatever the layout file says.
std::uint8_t stickyCode(int number) {
    switch (number) {
        case kCapsLockKey:
            return kVkCapital;
        case kShiftKey:
            return kVkLeftShift;
        case kCtrlKey:
            return kVkLeftControl;
        default:
            return kVkMenu;
    }
}

}  // namespace

KeyboardWindow::KeyboardWindow(std::vector<KeyboardLayout> layouts,
                               std::unique_ptr<X11Keyboard> x11, const QImage& icon)
    : QDialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      layouts_(std::move(layouts)),
      choice_(layouts_),
      x11_(std::move(x11)),
      faces_(palette(), keyFont()) {
    setObjectName(QStringLiteral("tapboardWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(kKeyboardWidth, kKeyboardHeight);
    setCursor(Qt::PointingHandCursor);
    if (!icon.isNull()) {
        setWindowIcon(QIcon(QPixmap::fromImage(icon)));
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    for (const KeyDef& key : KeyTable()) {
        setKeyLabel(key.Number, QString::fromUtf8(key.Label));
    }
    // The faces start from the real keyboard; nothing is pressed or released on the way.
    const X11Keyboard::State state = x11_->state();
    capsLockOn_ = state.CapsLocked;
    shiftOn_ = state.ShiftHeld;
    group_ = state.Group;
    setKeyDown(kCapsLockKey, capsLockOn_ ? 1 : 0);
    setKeyDown(kShiftKey, shiftOn_ ? 1 : 0);
    applyKeyboardLayout();

    connect(&poller_, &QTimer::timeout, this, [this] { poll(); });
    poller_.start(kPollMilliseconds);
}

void KeyboardWindow::poll() {
    const bool keymapChanged = x11_->refreshKeymap();
    const X11Keyboard::State state = x11_->state();
    bool relabel = keymapChanged || state.Group != group_;
    group_ = state.Group;
    if (state.CapsLocked != capsLockOn_) {
        capsLockOn_ = state.CapsLocked;
        setKeyDown(kCapsLockKey, capsLockOn_ ? 1 : 0);
        relabel = true;
    }
    if (state.ShiftHeld != shiftOn_) {
        shiftOn_ = state.ShiftHeld;
        setKeyDown(kShiftKey, shiftOn_ ? 1 : 0);
        relabel = true;
    }
    if (relabel) {
        applyKeyboardLayout();
    }
}

void KeyboardWindow::applyKeyboardLayout() {
    const std::int32_t id = x11_->layoutId(group_);
    bool report = false;
    const KeyboardLayout& layout = choice_.choose(id, report);
    keyMap_ = layout.Button;
    for (const KeyDef& key : KeyTable()) {
        if (key.Character) {
            const bool typed = keyMap_[static_cast<std::size_t>(key.Number)] != 0;
            setKeyLabel(key.Number, typed ? QString::fromStdString(x11_->labels().label(
                                                key.Position, shiftOn_, capsLockOn_, group_))
                                          : QString());
        }
    }
    setWindowTitle(QString::fromStdString(KeyboardTitle(layout, id)));
    if (report) {
        showMissingLayout(id);
    }
}

void KeyboardWindow::showMissingLayout(std::int32_t id) {
    auto* box =
        new QMessageBox(QMessageBox::Information, QStringLiteral("Information"),
                        QString::fromStdString(MissingLayoutMessage(id)), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Queued, so that at start-up the box comes after the keyboard window is shown.
    QMetaObject::invokeMethod(
        box, [box] { box->open(); }, Qt::QueuedConnection);
}

void KeyboardWindow::sendKey(int number) {
    setKeyDown(number, 1);
    lastKey_ = number;
    const KeyDef& key = KeyTable()[static_cast<std::size_t>(number)];
    const std::uint8_t code = keyMap_[static_cast<std::size_t>(number)];
    if (code == 0) {
        return;
    }
    // A character key presses its physical key, so the active layout decides what it types,
    // just as it decides the label.
    x11_->tapKey(key.Character ? x11_->labels().keycode(key.Position)
                               : x11_->keycodeForKeysym(KeysymForVirtualKey(code)));
}

void KeyboardWindow::toggleKey(int number) {
    const int state = keys_[static_cast<std::size_t>(number)].State == 0 ? 1 : 0;
    setKeyDown(number, state);
    const std::uint32_t keycode = x11_->keycodeForKeysym(KeysymForVirtualKey(stickyCode(number)));
    if (number == kCapsLockKey) {
        // Caps Lock locks in the server: one press and release either way.
        x11_->tapKey(keycode);
        capsLockOn_ = state == 1;
    } else if (state == 1) {
        x11_->pressKey(keycode);
    } else {
        x11_->releaseKey(keycode);
    }
    if (number == kShiftKey) {
        shiftOn_ = state == 1;
    }
    if (number == kCapsLockKey || number == kShiftKey) {
        applyKeyboardLayout();
    }
}

void KeyboardWindow::setKeyDown(int number, int state) {
    if (number < 0) {
        for (const KeyDef& key : KeyTable()) {
            if (!key.Toggle) {
                setKeyDown(key.Number, state);
            }
        }
        return;
    }
    KeyButton& button = keys_[static_cast<std::size_t>(number)];
    if (button.State != state) {
        button.State = state;
        const KeyDef& key = KeyTable()[static_cast<std::size_t>(number)];
        update(key.X, key.Y, KindWidth(key.Kind), kKeyHeight);
    }
}

void KeyboardWindow::setKeyLabel(int number, const QString& label) {
    KeyButton& button = keys_[static_cast<std::size_t>(number)];
    if (!button.ImageUp.isNull() && button.Label == label) {
        return;
    }
    const KeyDef& key = KeyTable()[static_cast<std::size_t>(number)];
    button.Label = label;
    button.ImageUp = faces_.make(label, key.Kind, 0);
    button.ImageDown = faces_.make(label, key.Kind, 1);
    update(key.X, key.Y, KindWidth(key.Kind), kKeyHeight);
}

void KeyboardWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const KeyDef& key : KeyTable()) {
        const KeyButton& button = keys_[static_cast<std::size_t>(key.Number)];
        painter.drawImage(key.X, key.Y, button.State == 0 ? button.ImageUp : button.ImageDown);
    }
}

void KeyboardWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint at = event->position().toPoint();
    const int number = KeyAt(at.x(), at.y());
    if (number < 0) {
        return;
    }
    if (KeyTable()[static_cast<std::size_t>(number)].Toggle) {
        toggleKey(number);
    } else {
        sendKey(number);
    }
}

void KeyboardWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && lastKey_ >= 0) {
        setKeyDown(lastKey_, 0);
    }
}

void KeyboardWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!rect().contains(event->position().toPoint())) {
        setKeyDown(-1, 0);
    }
}

void KeyboardWindow::leaveEvent(QEvent*) {
    setKeyDown(-1, 0);
}

}  // namespace tapboard
