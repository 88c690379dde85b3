#pragma once
// Dates are signed 32-bit seconds since 1970-01-01 00:00:00 of the local wall clock, with no time
// zone attached: "now" is the UTC time shifted by the local offset, and formatting reads the
// number as if it were UTC.

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace vlt {

// The local wall clock as a date, saturated to the int32 range.
std::int32_t LocalNow();
// A moment of the system clock (a file's time) as a date of the local wall clock.
std::int32_t LocalDate(std::time_t moment);

using Clock = std::function<std::int32_t()>;

// Formats a date with the masks %yyyy, %yy, %mm, %dd, %hh, %ii, %ss; other text is copied.
std::u16string FormatDate(std::u16string_view mask, std::int32_t date);

// Adds seconds to a date, saturating at the int32 limits instead of wrapping past 2038.
std::int32_t AddSeconds(std::int32_t date, std::int64_t seconds);

}  // namespace vlt
