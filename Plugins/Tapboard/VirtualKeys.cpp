#include "VirtualKeys.h"

#include <X11/keysym.h>

#include <array>
#include <utility>

namespace tapboard {

namespace {

constexpr std::array<std::pair<std::uint8_t, std::uint32_t>, 33> kKeysyms = {{
    {0x08, XK_BackSpace}, {0x09, XK_Tab},       {0x0C, XK_Clear},       {0x0D, XK_Return},
    {0x10, XK_Shift_L},   {0x11, XK_Control_L}, {0x12, XK_Alt_L},       {0x13, XK_Pause},
    {0x14, XK_Caps_Lock}, {0x1B, XK_Escape},    {0x20, XK_space},       {0x21, XK_Prior},
    {0x22, XK_Next},      {0x23, XK_End},       {0x24, XK_Home},        {0x25, XK_Left},
    {0x26, XK_Up},        {0x27, XK_Right},     {0x28, XK_Down},        {0x2C, XK_Print},
    {0x2D, XK_Insert},    {0x2E, XK_Delete},    {0x5B, XK_Super_L},     {0x5C, XK_Super_R},
    {0x5D, XK_Menu},      {0x90, XK_Num_Lock},  {0x91, XK_Scroll_Lock}, {0xA0, XK_Shift_L},
    {0xA1, XK_Shift_R},   {0xA2, XK_Control_L}, {0xA3, XK_Control_R},   {0xA4, XK_Alt_L},
    {0xA5, XK_Alt_R},
}};

}  // namespace

std::uint32_t KeysymForVirtualKey(std::uint8_t vk) {
    // F1 to F12 run in order in both numberings.
    if (vk >= 0x70 && vk <= 0x7B) {
        return XK_F1 + (vk - 0x70u);
    }
    for (const auto& [code, keysym] : kKeysyms) {
        if (code == vk) {
            return keysym;
        }
    }
    return 0;
}

}  // namespace tapboard
