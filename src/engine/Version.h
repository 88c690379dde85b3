#pragma once

namespace vlt {

// Shown in window titles, the log banner and the about box.
inline constexpr char16_t kProgramVersion[] = u"4.1";

}  // namespace vlt
