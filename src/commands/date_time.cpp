#include "commands/date_time.h"

#include <cmath>
#include <cstdint>

namespace glyvora {

namespace {

// Days from 1970-01-01 to 1899-12-30, the automation date's day 0.
constexpr std::int64_t kEpochOffset = -25569;

// Gregorian date of a day count since 1970-01-01 (the usual era-based conversion).
void civilFromDays(std::int64_t days, CalendarTime& out) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    out.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    out.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    out.year = static_cast<int>(yearOfEra + era * 400 + (out.month <= 2 ? 1 : 0));
}

} // namespace

CalendarTime calendarTime(DateTime dateTime) {
    double value = dateTime.days;
    if (std::isnan(value)) value = 0;
    value = std::fmin(std::fmax(value, kFirstDateTime), kLastDateTime + 0.99999);

    const double wholeDays = std::trunc(value);
    std::int64_t day = static_cast<std::int64_t>(wholeDays);
    std::int64_t seconds = std::llround(std::fabs(value - wholeDays) * 86400.0);
    if (seconds >= 86400) { // rounded up to the next midnight
        seconds -= 86400;
        ++day;
    }

    CalendarTime out;
    civilFromDays(day + kEpochOffset, out);
    out.hour = static_cast<int>(seconds / 3600);
    out.minute = static_cast<int>(seconds / 60 % 60);
    out.second = static_cast<int>(seconds % 60);
    return out;
}

} // namespace glyvora
