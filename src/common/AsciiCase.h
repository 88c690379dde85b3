#pragma once
// Letter case of names that ignore it: A-Z only, whatever else the text holds.

#include <string>
#include <string_view>

namespace vlt {

// Lower-cases A-Z only.
std::u16string lowerAscii(std::u16string_view text);

}  // namespace vlt
