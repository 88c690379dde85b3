#pragma once
// The periods of the time popup (expiry dates in the entry and mass-modify windows): now, one and
// two weeks, one, two and six calendar months, one, two and three calendar years.

#include <cstdint>

namespace vlt {

inline constexpr int kTimePeriodCount = 9;

// The date `months` calendar months after `date`, keeping the time of day and the day of the
// month; a day the target month lacks becomes its last day (31 January + 1 month is 28 or 29
// February). Saturates at the int32 limits instead of wrapping past 2038.
std::int32_t AddCalendarMonths(std::int32_t date, int months);

// The date the time popup's item `period` (0 "Now" to 8 "3 years") gives, counted from `now`;
// `now` itself for a period outside 0..8.
std::int32_t DateAfterPeriod(std::int32_t now, int period);

}  // namespace vlt
