#pragma once
// Automation dates: the calendar arithmetic behind them, and their text
// under locale 0x409 ("M/D/YYYY", "h:mm:ss AM", both joined by a space).
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/HResult.h"

namespace tap::com {

// 1/1/100 and the last second of 12/31/9999: the range a Date may hold.
inline constexpr double min_date = -657434.0;
inline constexpr double max_date = 2958465.0 + 86399.0 / 86400.0;

struct DateParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
};

// Day number (0 = 12/30/1899) of a proleptic Gregorian date. Months and days
// outside their usual range carry over, as DateSerial(2000, 14, 0) does.
std::int64_t serial_from_civil(std::int64_t year, std::int64_t month, std::int64_t day);

// Splits a date, rounded to the nearest second. false outside the range.
bool split_date(double date, DateParts* out);

// Joins the parts (fields must be in their usual ranges); false when the
// result is outside the range. Times of days before 12/30/1899 count away
// from zero, as automation dates store them.
bool join_date(const DateParts& parts, double* out);

// "M/D/YYYY" for whole days, "h:mm:ss AM" when the day part is 0, both when
// both are present.
std::u16string format_date(double date);

// The US forms: "1/2/2003", "2003-01-02", "January 2, 2003", "2 Jan 2003",
// "1/2" (current year), "10:30", "10:30:15 PM", "3 PM" and a date followed
// by a time. Two-digit years 0-29 mean 20xx, 30-99 mean 19xx.
// DISP_E_TYPEMISMATCH for anything else.
HRESULT parse_date(std::u16string_view text, double* out);

}  // namespace tap::com
