#include "engine/text/TimePeriods.h"

#include <ctime>

#include "engine/text/DateText.h"

namespace vlt {

namespace {

constexpr std::int64_t kDay = 86'400;
constexpr std::int64_t kWeek = 7 * kDay;

bool leapYear(std::int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(std::int64_t year, int month) {  // month 1..12
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the civil date (proleptic Gregorian).
std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + dayOfEra - 719'468;
}

}  // namespace

std::int32_t AddCalendarMonths(std::int32_t date, int months) {
    std::time_t t = date;
    std::tm tm{};
    gmtime_r(&t, &tm);
    const std::int64_t monthIndex =
        static_cast<std::int64_t>(tm.tm_year + 1900) * 12 + tm.tm_mon + months;
    std::int64_t year = monthIndex / 12;
    int month = static_cast<int>(monthIndex % 12);
    if (month < 0) {
        month += 12;
        --year;
    }
    ++month;
    const int day = tm.tm_mday < daysInMonth(year, month) ? tm.tm_mday : daysInMonth(year, month);
    const std::int64_t secondOfDay = tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
    // AddSeconds saturates a result past the int32 range.
    return AddSeconds(0, daysFromCivil(year, month, day) * kDay + secondOfDay);
}

std::int32_t DateAfterPeriod(std::int32_t now, int period) {
    switch (period) {
        case 1:
            return AddSeconds(now, kWeek);
        case 2:
            return AddSeconds(now, 2 * kWeek);
        case 3:
            return AddCalendarMonths(now, 1);
        case 4:
            return AddCalendarMonths(now, 2);
        case 5:
            return AddCalendarMonths(now, 6);
        case 6:
            return AddCalendarMonths(now, 12);
        case 7:
            return AddCalendarMonths(now, 24);
        case 8:
            return AddCalendarMonths(now, 36);
        default:
            return now;
    }
}

}  // namespace vlt
