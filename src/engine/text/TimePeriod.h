#pragma once
// The periods of the time popup that sets an expiry date: "Now", 1 and 2 weeks, 1, 2 and 6
// months, 1, 2 and 3 years, numbered 0 to 8 in that order.

#include <cstdint>

namespace vlt {

inline constexpr int kTimePeriodCount = 9;

// `date` moved on by period `period`. Months and years are calendar ones at the same time of day;
// a day the target month lacks becomes its last day (31 January plus 1 month is the last day of
// February). The result saturates at the date range; an unknown period leaves the date as it is.
std::int32_t AddTimePeriod(std::int32_t date, int period);

}  // namespace vlt
