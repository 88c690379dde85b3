#pragma once
// The X server side of the on-screen keyboard: its own connection, synthetic key presses through
// the XTEST extension, the keyboard's modifier and layout state, and the server's keymap.

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "KeyLabels.h"

typedef struct _XDisplay Display;

namespace tapboard {

class X11Keyboard {
  public:
    struct State {
        bool ShiftHeld = false;
        bool CapsLocked = false;
        int Group = 0;
    };

    // Nothing when there is no X display, or it lacks the XTEST or XKB extension.
    static std::unique_ptr<X11Keyboard> open();
    // Releases every key still held through pressKey, so no modifier stays down on any way out.
    ~X11Keyboard();
    X11Keyboard(const X11Keyboard&) = delete;
    X11Keyboard& operator=(const X11Keyboard&) = delete;

    State state() const;
    // Fetches the keymap again when the server's layouts changed; true when it did.
    bool refreshKeymap();
    // The layout ID of the layout in `group`, 0 when unknown.
    std::int32_t layoutId(int group) const;
    const KeyLabels& labels() const { return *labels_; }
    std::uint32_t keycodeForKeysym(std::uint32_t keysym) const;

    // Presses and releases the key.
    void tapKey(std::uint32_t keycode);
    // Presses the key and keeps it down, or releases a key this object holds.
    void pressKey(std::uint32_t keycode);
    void releaseKey(std::uint32_t keycode);
    bool holds(std::uint32_t keycode) const { return held_.count(keycode) != 0; }

  private:
    explicit X11Keyboard(Display* display) : display_(display) {}
    std::string rulesNames() const;
    bool loadKeymap();
    void fake(std::uint32_t keycode, bool down);

    Display* display_;
    unsigned long rulesAtom_ = 0;  // the root window property naming the layouts
    std::unique_ptr<KeyLabels> labels_;
    std::string rules_;
    std::set<std::uint32_t> held_;
};

}  // namespace tapboard
