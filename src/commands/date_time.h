#pragma once
// Calendar fields of an automation date-time: days since 1899-12-30, the fraction being the time
// of day. For a date before that day the fraction still counts forward from midnight, so -1.25 is
// 1899-12-29 06:00.

#include "commands/value.h"

namespace glyvora {

// The range a date-time is kept within: 0100-01-01 to 9999-12-31.
inline constexpr double kFirstDateTime = -657434;
inline constexpr double kLastDateTime = 2958465;

struct CalendarTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// The fields, rounded to the nearest second; a value outside the range is taken at its end.
CalendarTime calendarTime(DateTime dateTime);

} // namespace glyvora
