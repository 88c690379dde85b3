#pragma once
// The layouts file of the on-screen keyboard: one group per keyboard layout, named by the
// layout's numeric ID, holding a display name and the virtual-key code of each of the 79 keys.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KeyTable.h"

namespace tapboard {

struct KeyboardLayout {
    std::int32_t ID = 0;
    std::string LayoutName;  // UTF-8
    std::array<std::uint8_t, kKeyCount> Button{};
};

// A number as the file writes them: optional blanks and sign, then decimal digits, or "$"
// and hexadecimal, or "%" and binary; reading stops at the first other character, and no
// digits at all give 0. Too many digits wrap around modulo 2^32.
std::int32_t ReadLayoutNumber(std::string_view text);

// Every group of the file's content in file order. The content is UTF-8 when it starts with a
// byte order mark, otherwise Latin-1.
std::vector<KeyboardLayout> ParseKeyboardLayouts(std::string_view content);

// Reads the file; nothing when it is not a regular file of at most 4 MB, cannot be read or holds
// no group, since without a first layout the keyboard has nothing to fall back on.
std::optional<std::vector<KeyboardLayout>> LoadKeyboardLayouts(const std::string& path);

}  // namespace tapboard
