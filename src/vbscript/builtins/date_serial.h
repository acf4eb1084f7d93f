#pragma once
// Calendar arithmetic on automation dates: days since 30 December 1899,
// the fraction the time of day. Below zero the fraction still counts
// forward from midnight (-1.25 is 29 December 1899, 06:00), so arithmetic
// goes through a "linear" day count where it does not.
#include <cstdint>

namespace tap::vbs {

struct DateParts {
  std::int32_t year = 1899, month = 12, day = 30;
  std::int32_t hour = 0, minute = 0, second = 0;
};

// The earliest and latest dates scripts may hold: 1 January 100 and
// 31 December 9999.
inline constexpr double kMinDateSerial = -657434.0;
inline constexpr double kMaxDateSerial = 2958465.99999;

double linear_from_serial(double serial);
double serial_from_linear(double linear);

// The day number of a civil date; month and day may lie outside their
// ranges and roll over (month 13 is January of the next year, day 0 the
// last day of the month before).
std::int64_t day_number(std::int64_t year, std::int64_t month, std::int64_t day);
std::int32_t days_in_month(std::int32_t year, std::int32_t month);

// The parts of a date, its time rounded to the second.
DateParts date_parts(double serial);
// 1 = Sunday ... 7 = Saturday.
std::int32_t weekday_of(double serial);

bool date_in_range(double serial);

// Local wall-clock time now, as a date with millisecond resolution.
double local_now();

}  // namespace tap::vbs
