#include "engine/text/TimePeriod.h"

#include <array>
#include <chrono>

#include "engine/text/DateText.h"

namespace vlt {

namespace {

struct Period {
    int weeks;
    int months;
};

constexpr std::array<Period, kTimePeriodCount> kPeriods{{
    {0, 0},
    {1, 0},
    {2, 0},
    {0, 1},
    {0, 2},
    {0, 6},
    {0, 12},
    {0, 24},
    {0, 36},
}};

constexpr std::int64_t kDaySeconds = 86'400;

std::int32_t addMonths(std::int32_t date, int months) {
    using namespace std::chrono;
    const std::int64_t seconds = date;
    // Floor division, so that dates before 1970 keep their time of day.
    const std::int64_t days =
        seconds >= 0 ? seconds / kDaySeconds : -((-seconds + kDaySeconds - 1) / kDaySeconds);
    const std::int64_t timeOfDay = seconds - days * kDaySeconds;
    year_month_day ymd{sys_days{std::chrono::days{days}}};
    ymd += std::chrono::months{months};
    if (!ymd.ok()) {
        ymd = ymd.year() / ymd.month() / last;
    }
    const std::int64_t newDays = sys_days{ymd}.time_since_epoch().count();
    return AddSeconds(0, newDays * kDaySeconds + timeOfDay);
}

}  // namespace

std::int32_t AddTimePeriod(std::int32_t date, int period) {
    if (period < 0 || period >= kTimePeriodCount) {
        return date;
    }
    const Period& p = kPeriods[static_cast<std::size_t>(period)];
    if (p.months != 0) {
        return addMonths(date, p.months);
    }
    return AddSeconds(date, std::int64_t{p.weeks} * 7 * kDaySeconds);
}

}  // namespace vlt
