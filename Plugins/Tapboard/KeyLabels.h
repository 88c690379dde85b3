#pragma once
// What the keys of an XKB keymap print, for the labels of the character keys, and which key
// code sits at a physical position.

#include <cstdint>
#include <memory>
#include <string>

struct xkb_context;
struct xkb_keymap;

namespace tapboard {

class KeyLabels {
  public:
    // Takes over a reference to `context` and one to `keymap`. The US English keymap is built
    // beside it, for keys the current layout leaves without a character.
    KeyLabels(xkb_context* context, xkb_keymap* keymap);
    ~KeyLabels();
    KeyLabels(const KeyLabels&) = delete;
    KeyLabels& operator=(const KeyLabels&) = delete;

    // A keymap compiled from the XKB data files: layout "de", variant "" etc. Nothing when the
    // files do not know the layout.
    static std::unique_ptr<KeyLabels> fromNames(const std::string& layout,
                                                const std::string& variant = "");

    // The key code of the physical key named `position` ("AE01", "TLDE", ...), 0 when the keymap
    // has none.
    std::uint32_t keycode(const std::string& position) const;

    // The UTF-8 text the key prints in layout `group` with only Shift and Caps Lock taken into
    // account, so that a held Ctrl never turns a label into a control character. A dead key shows
    // its accent. Empty when neither this keymap nor the US one gives the key a printable text.
    std::string label(const std::string& position, bool shift, bool caps, int group) const;

  private:
    xkb_context* context_;
    xkb_keymap* keymap_;
    xkb_keymap* us_;
};

}  // namespace tapboard
