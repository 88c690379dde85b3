#include "shell/main/BossKey.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <vector>

#include "shell/main/BringToFront.h"
#include "shell/main/X11Connection.h"

namespace vlt {

namespace {

xcb_window_t rootWindow(xcb_connection_t* connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// The first key code that produces the keysym, 0 when the keyboard has none.
xcb_keycode_t keycodeFor(xcb_connection_t* connection, xcb_keysym_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const int first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
        connection,
        xcb_get_keyboard_mapping(connection, static_cast<xcb_keycode_t>(first),
                                 static_cast<std::uint8_t>(count)),
        nullptr);
    if (reply == nullptr) {
        return 0;
    }
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
    const int perCode = reply->keysyms_per_keycode;
    const int total = xcb_get_keyboard_mapping_keysyms_length(reply);
    xcb_keycode_t found = 0;
    for (int i = 0; i < total && found == 0; ++i) {
        if (syms[i] == keysym && perCode > 0) {
            found = static_cast<xcb_keycode_t>(first + i / perCode);
        }
    }
    std::free(reply);
    return found;
}

// The lock keys the grab must not depend on: none, CapsLock, NumLock (Mod2) and both.
constexpr std::uint16_t kLockVariants[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                           XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr std::uint16_t kModifierMasks[] = {XCB_MOD_MASK_CONTROL, XCB_MOD_MASK_1,
                                            XCB_MOD_MASK_SHIFT};
// The modifiers that must match exactly for a press to count.
constexpr std::uint16_t kCountedModifiers =
    XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_4;

}  // namespace

BossKey::BossKey(QWidget& window, QObject* parent) : QObject(parent), window_(window) {}

BossKey::~BossKey() {
    ungrab();
}

bool BossKey::available() {
    return X11Connection() != nullptr;
}

bool BossKey::grab(int modifier, int digit) {
    ungrab();
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr) {
        lastError_ = QStringLiteral("The boss key needs an X11 display.");
        return false;
    }
    if (modifier < 0 || modifier > 2 || digit < 0 || digit > 9) {
        lastError_ = QStringLiteral("The boss key setting is not valid.");
        return false;
    }
    const xcb_keycode_t keycode = keycodeFor(connection, static_cast<xcb_keysym_t>('0' + digit));
    if (keycode == 0) {
        lastError_ = QStringLiteral("The keyboard has no key for the digit %1.").arg(digit);
        return false;
    }
    const std::uint16_t mask = kModifierMasks[modifier];
    const xcb_window_t root = rootWindow(connection);
    std::vector<xcb_void_cookie_t> cookies;
    for (std::uint16_t lock : kLockVariants) {
        cookies.push_back(xcb_grab_key_checked(connection, 1, root, mask | lock, keycode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    bool refused = false;
    for (const xcb_void_cookie_t& cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
            refused = true;
            std::free(error);
        }
    }
    keycode_ = keycode;
    modifiers_ = mask;
    if (refused) {
        // Release the variants that were granted: a half-held key would act only sometimes.
        ungrab();
        lastError_ = QStringLiteral("Another program already uses this key combination.");
        return false;
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
    lastError_.clear();
    return true;
}

void BossKey::ungrab() {
    if (keycode_ == 0) {
        return;
    }
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    if (xcb_connection_t* connection = X11Connection()) {
        const xcb_window_t root = rootWindow(connection);
        for (std::uint16_t lock : kLockVariants) {
            xcb_ungrab_key(connection, static_cast<xcb_keycode_t>(keycode_), root,
                           static_cast<std::uint16_t>(modifiers_ | lock));
        }
        xcb_flush(connection);
    }
    keycode_ = 0;
    modifiers_ = 0;
}

void BossKey::apply(bool on, int modifier, int digit) {
    if (!on || !available()) {
        ungrab();
        return;
    }
    if (!grab(modifier, digit) && !reported_ && reportRefusal) {
        reported_ = true;
        reportRefusal(lastError_);
    }
}

void BossKey::toggle() {
    if (hidden_) {
        BringToFront(window_);
        hidden_ = false;
    } else {
        window_.hide();
        hidden_ = true;
    }
}

bool BossKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (keycode_ == 0 || eventType != "xcb_generic_event_t") {
        return false;
    }
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS) {
        return false;
    }
    auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
    if (press->detail != keycode_ || (press->state & kCountedModifiers) != modifiers_) {
        return false;
    }
    emit pressed();
    return true;
}

}  // namespace vlt
