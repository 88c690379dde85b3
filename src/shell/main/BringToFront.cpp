#include "shell/main/BringToFront.h"

#include <xcb/xcb.h>

#include <QWidget>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "shell/main/X11Connection.h"

namespace vlt {

namespace {

// The window-manager hints of an X11 window (WM_HINTS): nine 32-bit fields, the third of which
// is the state the window starts in when mapped, valid when the flags name it.
constexpr std::size_t kHintFields = 9;
constexpr std::uint32_t kStateHint = 1u << 1;
constexpr std::size_t kInitialState = 2;
constexpr std::uint32_t kNormalState = 1;

// Qt minimises an X11 window by also marking it "start minimised" in its hints, and leaves the
// mark when the window manager restores the window: shown again after being hidden, the window
// would be mapped minimised, off the screen and out of the tray. The mark is taken off.
void clearStartMinimised(QWidget& window) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr || !window.testAttribute(Qt::WA_WState_Created)) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, kHintFields),
        nullptr);
    if (reply == nullptr) {
        return;
    }
    std::array<std::uint32_t, kHintFields> hints{};
    const std::size_t fields =
        reply->format == 32
            ? std::min(kHintFields, static_cast<std::size_t>(xcb_get_property_value_length(reply)) /
                                        sizeof(std::uint32_t))
            : 0;
    std::memcpy(hints.data(), xcb_get_property_value(reply), fields * sizeof(std::uint32_t));
    std::free(reply);
    if (fields <= kInitialState || (hints[0] & kStateHint) == 0 ||
        hints[kInitialState] == kNormalState) {
        return;
    }
    hints[kInitialState] = kNormalState;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS,
                        32, static_cast<std::uint32_t>(fields), hints.data());
}

}  // namespace

void BringToFront(QWidget& window) {
    if (!window.isVisible()) {
        clearStartMinimised(window);
    }
    window.showNormal();
    window.raise();
    window.activateWindow();
}

}  // namespace vlt
