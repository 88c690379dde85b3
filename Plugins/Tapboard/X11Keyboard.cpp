#include "X11Keyboard.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <xkbcommon/xkbcommon-x11.h>

#include "LayoutChoice.h"

namespace tapboard {

std::unique_ptr<X11Keyboard> X11Keyboard::open() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return nullptr;
    }
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    std::unique_ptr<X11Keyboard> keyboard(new X11Keyboard(display));
    keyboard->rulesAtom_ = XInternAtom(display, "_XKB_RULES_NAMES", False);
    if (!XTestQueryExtension(display, &event, &error, &major, &minor) || !keyboard->loadKeymap()) {
        return nullptr;
    }
    return keyboard;
}

X11Keyboard::~X11Keyboard() {
    for (std::uint32_t keycode : held_) {
        fake(keycode, false);
    }
    XSync(display_, False);
    labels_.reset();
    XCloseDisplay(display_);
}

bool X11Keyboard::loadKeymap() {
    xcb_connection_t* connection = XGetXCBConnection(display_);
    if (!xkb_x11_setup_xkb_extension(
            connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr)) {
        return false;
    }
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (device < 0 || context == nullptr) {
        xkb_context_unref(context);
        return false;
    }
    xkb_keymap* keymap =
        xkb_x11_keymap_new_from_device(context, connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (keymap == nullptr) {
        xkb_context_unref(context);
        return false;
    }
    labels_ = std::make_unique<KeyLabels>(context, keymap);
    rules_ = rulesNames();
    return true;
}

std::string X11Keyboard::rulesNames() const {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string value;
    if (rulesAtom_ != None &&
        XGetWindowProperty(display_, DefaultRootWindow(display_), rulesAtom_, 0, 1024, False,
                           XA_STRING, &type, &format, &count, &after, &data) == Success &&
        data != nullptr && format == 8) {
        value.assign(reinterpret_cast<const char*>(data), count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return value;
}

bool X11Keyboard::refreshKeymap() {
    if (rulesNames() == rules_) {
        return false;
    }
    return loadKeymap();
}

X11Keyboard::State X11Keyboard::state() const {
    XkbStateRec record{};
    State result;
    if (XkbGetState(display_, XkbUseCoreKbd, &record) == Success) {
        result.ShiftHeld = (record.base_mods & ShiftMask) != 0;
        result.CapsLocked = (record.locked_mods & LockMask) != 0;
        result.Group = record.group;
    }
    return result;
}

std::int32_t X11Keyboard::layoutId(int group) const {
    return LayoutIdForXkbName(XkbLayoutOfGroup(rules_, group));
}

std::uint32_t X11Keyboard::keycodeForKeysym(std::uint32_t keysym) const {
    return keysym == 0 ? 0 : XKeysymToKeycode(display_, keysym);
}

void X11Keyboard::fake(std::uint32_t keycode, bool down) {
    XTestFakeKeyEvent(display_, keycode, down ? True : False, CurrentTime);
}

void X11Keyboard::tapKey(std::uint32_t keycode) {
    if (keycode == 0) {
        return;
    }
    fake(keycode, true);
    fake(keycode, false);
    XSync(display_, False);
}

void X11Keyboard::pressKey(std::uint32_t keycode) {
    if (keycode == 0 || holds(keycode)) {
        return;
    }
    fake(keycode, true);
    held_.insert(keycode);
    XSync(display_, False);
}

void X11Keyboard::releaseKey(std::uint32_t keycode) {
    if (held_.erase(keycode) == 0) {
        return;
    }
    fake(keycode, false);
    XSync(display_, False);
}

}  // namespace tapboard
