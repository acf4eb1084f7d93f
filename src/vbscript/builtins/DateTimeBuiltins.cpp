// Date and time functions. Dates arrive as anything CDate accepts; Null
// passes through the part functions. Week rules follow the
// firstdayofweek (0 = system = Sunday, 1..7) and firstweekofyear
// (0 = system = 1: the week of 1 January, 2: the first week with four days,
// 3: the first full week) arguments.
#include <cmath>
#include <string>

#include "vbscript/builtins/Builtin.h"
#include "vbscript/builtins/builtin_args.h"
#include "vbscript/builtins/date_serial.h"
#include "vbscript/builtins/text_case.h"

namespace tap::vbs {

namespace {

using namespace builtin;
using com::Variant;

constexpr const char16_t* kMonths[] = {u"January", u"February", u"March",     u"April",
                                       u"May",     u"June",     u"July",      u"August",
                                       u"September", u"October", u"November", u"December"};
constexpr const char16_t* kWeekdays[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                         u"Thursday", u"Friday", u"Saturday"};

Variant date_result(double serial) {
  if (!date_in_range(serial)) raise(RuntimeError::invalid_procedure_call);
  return Variant(com::Date{serial});
}

double serial_of(const DateParts& p) {
  double day = static_cast<double>(day_number(p.year, p.month, p.day));
  double time = (p.hour * 3600.0 + p.minute * 60.0 + p.second) / 86400.0;
  return serial_from_linear(day + time);
}

std::int32_t first_day_arg(Args a, std::size_t i) {
  std::int32_t fdow = optional_long(a, i, 1);
  if (fdow < 0 || fdow > 7) raise(RuntimeError::invalid_procedure_call);
  return fdow == 0 ? 1 : fdow;
}

std::int32_t first_week_arg(Args a, std::size_t i) {
  std::int32_t fwoy = optional_long(a, i, 1);
  if (fwoy < 0 || fwoy > 3) raise(RuntimeError::invalid_procedure_call);
  return fwoy == 0 ? 1 : fwoy;
}

std::int64_t whole_seconds(double serial) {
  return std::llround(linear_from_serial(serial) * 86400.0);
}

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// The day a date falls on, its time rounded to the second as date_parts does.
std::int64_t whole_day(double serial) { return floor_div(whole_seconds(serial), 86400); }

// Days into the week that starts on fdow (0..6).
std::int64_t days_into_week(double serial, std::int32_t fdow) {
  return (weekday_of(serial) - fdow + 7) % 7;
}


std::int32_t week_of_year(double serial, std::int32_t fdow, std::int32_t fwoy) {
  std::int64_t day = whole_day(serial);
  std::int32_t year = date_parts(serial).year;
  for (int attempt = 0; attempt < 2; ++attempt, --year) {
    std::int64_t jan1 = day_number(year, 1, 1);
    std::int64_t offset = days_into_week(static_cast<double>(jan1), fdow);
    std::int64_t week1 = jan1 - offset;
    if ((fwoy == 2 && 7 - offset < 4) || (fwoy == 3 && offset != 0)) week1 += 7;
    if (day >= week1) return static_cast<std::int32_t>((day - week1) / 7 + 1);
  }
  return 1;
}

Variant now(BuiltinState&, Args) {
  return Variant(com::Date{std::floor(local_now() * 86400.0) / 86400.0});
}
Variant date(BuiltinState&, Args) { return Variant(com::Date{std::floor(local_now())}); }
Variant time(BuiltinState&, Args) {
  double t = local_now();
  return Variant(com::Date{std::floor((t - std::floor(t)) * 86400.0) / 86400.0});
}
Variant timer(BuiltinState&, Args) {
  double t = local_now();
  return Variant(static_cast<float>(std::round((t - std::floor(t)) * 8640000.0) / 100.0));
}

template <std::int32_t DateParts::*Field>
Variant part(BuiltinState&, Args a) {
  if (a[0].is_null()) return Variant::null();
  return Variant(static_cast<std::int16_t>(date_parts(to_date_serial(a[0])).*Field));
}

Variant weekday(BuiltinState&, Args a) {
  std::int32_t fdow = first_day_arg(a, 1);
  if (a[0].is_null()) return Variant::null();
  return Variant(static_cast<std::int16_t>(days_into_week(to_date_serial(a[0]), fdow) + 1));
}

enum class Interval { year, quarter, month, day_of_year, day, weekday, week, hour, minute, second };

Interval interval_arg(const Variant& v) {
  std::u16string s = lower_text(to_text(v).view());
  static constexpr struct {
    const char16_t* name;
    Interval interval;
  } kIntervals[] = {{u"yyyy", Interval::year}, {u"q", Interval::quarter},
                    {u"m", Interval::month},   {u"y", Interval::day_of_year},
                    {u"d", Interval::day},     {u"w", Interval::weekday},
                    {u"ww", Interval::week},   {u"h", Interval::hour},
                    {u"n", Interval::minute},  {u"s", Interval::second}};
  for (const auto& entry : kIntervals)
    if (s == entry.name) return entry.interval;
  raise(RuntimeError::invalid_procedure_call);
}

// DateAdd(interval, number, date): month steps keep the day where the
// target month has it and use the month's last day otherwise.
Variant dateadd(BuiltinState&, Args a) {
  Interval iv = interval_arg(a[0]);
  if (a[2].is_null()) return Variant::null();
  double n = std::trunc(to_double(a[1]));
  double serial = to_date_serial(a[2]);
  if (std::fabs(n) > 1e9) raise(RuntimeError::invalid_procedure_call);
  auto count = static_cast<std::int64_t>(n);
  double seconds_step = 0;
  std::int64_t months = 0;
  switch (iv) {
    case Interval::year: months = count * 12; break;
    case Interval::quarter: months = count * 3; break;
    case Interval::month: months = count; break;
    case Interval::day_of_year:
    case Interval::day:
    case Interval::weekday: seconds_step = 86400; break;
    case Interval::week: seconds_step = 7 * 86400; break;
    case Interval::hour: seconds_step = 3600; break;
    case Interval::minute: seconds_step = 60; break;
    case Interval::second: seconds_step = 1; break;
  }
  if (seconds_step != 0) {
    double linear = linear_from_serial(serial) + static_cast<double>(count) * seconds_step / 86400.0;
    return date_result(serial_from_linear(linear));
  }
  DateParts p = date_parts(serial);
  std::int64_t total = static_cast<std::int64_t>(p.year) * 12 + (p.month - 1) + months;
  if (total < 100 * 12 || total > 9999 * 12 + 11) raise(RuntimeError::invalid_procedure_call);
  p.year = static_cast<std::int32_t>(total / 12);
  p.month = static_cast<std::int32_t>(total % 12 + 1);
  std::int32_t last = days_in_month(p.year, p.month);
  if (p.day > last) p.day = last;
  return date_result(serial_of(p));
}


// DateDiff(interval, date1, date2[, firstdayofweek[, firstweekofyear]]):
// the number of interval boundaries crossed from date1 to date2.
Variant datediff(BuiltinState&, Args a) {
  Interval iv = interval_arg(a[0]);
  std::int32_t fdow = first_day_arg(a, 3);
  first_week_arg(a, 4);
  if (a[1].is_null() || a[2].is_null()) return Variant::null();
  double d1 = to_date_serial(a[1]), d2 = to_date_serial(a[2]);
  DateParts p1 = date_parts(d1), p2 = date_parts(d2);
  std::int64_t r = 0;
  switch (iv) {
    case Interval::year: r = p2.year - p1.year; break;
    case Interval::quarter:
      r = (p2.year * 4 + (p2.month - 1) / 3) - (p1.year * 4 + (p1.month - 1) / 3);
      break;
    case Interval::month: r = (p2.year * 12 + p2.month) - (p1.year * 12 + p1.month); break;
    case Interval::day_of_year:
    case Interval::day: r = whole_day(d2) - whole_day(d1); break;
    case Interval::weekday: r = (whole_day(d2) - whole_day(d1)) / 7; break;
    case Interval::week: {
      std::int64_t w1 = whole_day(d1) - days_into_week(d1, fdow);
      std::int64_t w2 = whole_day(d2) - days_into_week(d2, fdow);
      r = (w2 - w1) / 7;
      break;
    }
    case Interval::hour: r = floor_div(whole_seconds(d2), 3600) - floor_div(whole_seconds(d1), 3600); break;
    case Interval::minute: r = floor_div(whole_seconds(d2), 60) - floor_div(whole_seconds(d1), 60); break;
    case Interval::second: r = whole_seconds(d2) - whole_seconds(d1); break;
  }
  return Variant(static_cast<std::int32_t>(r));
}

// DatePart(interval, date[, firstdayofweek[, firstweekofyear]])
Variant datepart(BuiltinState&, Args a) {
  Interval iv = interval_arg(a[0]);
  std::int32_t fdow = first_day_arg(a, 2);
  std::int32_t fwoy = first_week_arg(a, 3);
  if (a[1].is_null()) return Variant::null();
  double d = to_date_serial(a[1]);
  DateParts p = date_parts(d);
  std::int32_t r = 0;
  switch (iv) {
    case Interval::year: r = p.year; break;
    case Interval::quarter: r = (p.month - 1) / 3 + 1; break;
    case Interval::month: r = p.month; break;
    case Interval::day_of_year:
      r = static_cast<std::int32_t>(whole_day(d) - day_number(p.year, 1, 1) + 1);
      break;
    case Interval::day: r = p.day; break;
    case Interval::weekday: r = static_cast<std::int32_t>(days_into_week(d, fdow) + 1); break;
    case Interval::week: r = week_of_year(d, fdow, fwoy); break;
    case Interval::hour: r = p.hour; break;
    case Interval::minute: r = p.minute; break;
    case Interval::second: r = p.second; break;
  }
  return Variant(r);
}

// Two-digit years fall in 1930..2029.
std::int64_t full_year(std::int64_t y) {
  if (y >= 0 && y < 30) return y + 2000;
  if (y >= 30 && y < 100) return y + 1900;
  return y;
}

Variant dateserial(BuiltinState&, Args a) {
  std::int64_t y = full_year(to_integer(a[0]));
  std::int64_t days = day_number(y, to_integer(a[1]), to_integer(a[2]));
  return date_result(static_cast<double>(days));
}

Variant timeserial(BuiltinState&, Args a) {
  double seconds = to_integer(a[0]) * 3600.0 + to_integer(a[1]) * 60.0 + to_integer(a[2]);
  return date_result(serial_from_linear(seconds / 86400.0));
}

Variant datevalue(BuiltinState&, Args a) {
  if (a[0].is_null()) return Variant::null();
  return Variant(com::Date{std::trunc(to_date_serial(a[0]))});
}

Variant timevalue(BuiltinState&, Args a) {
  if (a[0].is_null()) return Variant::null();
  double d = to_date_serial(a[0]);
  return Variant(com::Date{std::fabs(d - std::trunc(d))});
}

Variant monthname(BuiltinState&, Args a) {
  std::int32_t m = to_long(a[0]);
  bool abbreviate = given(a, 1) && to_boolean(a[1]);
  if (m < 1 || m > 12) raise(RuntimeError::invalid_procedure_call);
  std::u16string name = kMonths[m - 1];
  return Variant(abbreviate ? name.substr(0, 3) : name);
}

Variant weekdayname(BuiltinState&, Args a) {
  std::int32_t w = to_long(a[0]);
  bool abbreviate = given(a, 1) && to_boolean(a[1]);
  std::int32_t fdow = first_day_arg(a, 2);
  if (w < 1 || w > 7) raise(RuntimeError::invalid_procedure_call);
  std::u16string name = kWeekdays[(w + fdow - 2) % 7];
  return Variant(abbreviate ? name.substr(0, 3) : name);
}

std::u16string number_text(std::int32_t n, int width = 1) {
  std::u16string s;
  do {
    s.insert(s.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n > 0);
  while (static_cast<int>(s.size()) < width) s.insert(s.begin(), u'0');
  return s;
}

std::u16string short_date(const DateParts& p) {
  return number_text(p.month) + u"/" + number_text(p.day) + u"/" + number_text(p.year);
}

std::u16string long_time(const DateParts& p) {
  std::int32_t h12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
  return number_text(h12) + u":" + number_text(p.minute, 2) + u":" + number_text(p.second, 2) +
         (p.hour < 12 ? u" AM" : u" PM");
}

// FormatDateTime(date[, format]) with the en-US patterns: 0 general,
// 1 long date, 2 short date, 3 long time, 4 short (24-hour) time.
Variant formatdatetime(BuiltinState&, Args a) {
  std::int32_t format = optional_long(a, 1, 0);
  if (format < 0 || format > 4) raise(RuntimeError::invalid_procedure_call);
  double d = to_date_serial(a[0]);
  DateParts p = date_parts(d);
  switch (format) {
    case 1:
      return Variant(std::u16string(kWeekdays[weekday_of(d) - 1]) + u", " + kMonths[p.month - 1] +
                     u" " + number_text(p.day) + u", " + number_text(p.year));
    case 2: return Variant(short_date(p));
    case 3: return Variant(long_time(p));
    case 4: return Variant(number_text(p.hour, 2) + u":" + number_text(p.minute, 2));
    default: {
      bool has_date = std::trunc(d) != 0;
      bool has_time = p.hour != 0 || p.minute != 0 || p.second != 0;
      if (has_date && has_time) return Variant(short_date(p) + u" " + long_time(p));
      return Variant(has_time ? long_time(p) : short_date(p));
    }
  }
}

constexpr Builtin kDateTime[] = {
    {u"Now", 0, 0, now},
    {u"Date", 0, 0, date},
    {u"Time", 0, 0, time},
    {u"Timer", 0, 0, timer},
    {u"Year", 1, 1, part<&DateParts::year>},
    {u"Month", 1, 1, part<&DateParts::month>},
    {u"Day", 1, 1, part<&DateParts::day>},
    {u"Hour", 1, 1, part<&DateParts::hour>},
    {u"Minute", 1, 1, part<&DateParts::minute>},
    {u"Second", 1, 1, part<&DateParts::second>},
    {u"Weekday", 1, 2, weekday},
    {u"DateAdd", 3, 3, dateadd},
    {u"DateDiff", 3, 5, datediff},
    {u"DatePart", 2, 4, datepart},
    {u"DateSerial", 3, 3, dateserial},
    {u"TimeSerial", 3, 3, timeserial},
    {u"DateValue", 1, 1, datevalue},
    {u"TimeValue", 1, 1, timevalue},
    {u"MonthName", 1, 2, monthname},
    {u"WeekdayName", 1, 3, weekdayname},
    {u"FormatDateTime", 1, 2, formatdatetime},
};

}  // namespace

std::span<const Builtin> datetime_builtins() { return kDateTime; }

}  // namespace tap::vbs
