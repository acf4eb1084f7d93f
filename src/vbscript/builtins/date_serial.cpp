#include "vbscript/builtins/date_serial.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <mutex>

namespace tap::vbs {

namespace {

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Days from 1 March of year 0 based arithmetic (proleptic Gregorian).
std::int64_t days_from_civil(std::int64_t y, std::int64_t m, std::int64_t d) {
  y -= m <= 2;
  std::int64_t era = floor_div(y, 400);
  std::int64_t yoe = y - era * 400;
  std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;  // days since 1970-01-01
}

void civil_from_days(std::int64_t z, std::int32_t& y, std::int32_t& m, std::int32_t& d) {
  z += 719468;
  std::int64_t era = floor_div(z, 146097);
  std::int64_t doe = z - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<std::int32_t>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<std::int32_t>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<std::int32_t>(yoe + era * 400 + (m <= 2));
}

constexpr std::int64_t kEpochOffset = 25569;  // 1899-12-30 to 1970-01-01

}  // namespace

double linear_from_serial(double serial) {
  if (serial >= 0) return serial;
  double day = std::trunc(serial);
  return day + (day - serial);
}

double serial_from_linear(double linear) {
  if (linear >= 0) return linear;
  double day = std::floor(linear);
  double frac = linear - day;
  if (frac == 0) return day;
  // A negative date with a time keeps the day below it and counts forward.
  return day - frac;
}

std::int64_t day_number(std::int64_t year, std::int64_t month, std::int64_t day) {
  std::int64_t m0 = month - 1;
  year += floor_div(m0, 12);
  m0 -= floor_div(m0, 12) * 12;
  return days_from_civil(year, m0 + 1, 1) + kEpochOffset + day - 1;
}

std::int32_t days_in_month(std::int32_t year, std::int32_t month) {
  return static_cast<std::int32_t>(day_number(year, month + 1, 1) - day_number(year, month, 1));
}

DateParts date_parts(double serial) {
  double linear = linear_from_serial(serial);
  auto seconds = static_cast<std::int64_t>(std::llround(linear * 86400.0));
  std::int64_t day = floor_div(seconds, 86400);
  std::int64_t rest = seconds - day * 86400;
  DateParts p;
  civil_from_days(day - kEpochOffset, p.year, p.month, p.day);
  p.hour = static_cast<std::int32_t>(rest / 3600);
  p.minute = static_cast<std::int32_t>(rest / 60 % 60);
  p.second = static_cast<std::int32_t>(rest % 60);
  return p;
}

std::int32_t weekday_of(double serial) {
  auto seconds = static_cast<std::int64_t>(std::llround(linear_from_serial(serial) * 86400.0));
  std::int64_t day = floor_div(seconds, 86400);
  // Day 0 was a Saturday.
  std::int64_t r = (day + 6) % 7;
  return static_cast<std::int32_t>(r < 0 ? r + 7 : r) + 1;
}

bool date_in_range(double serial) {
  return serial >= kMinDateSerial && serial < 2958466.0 && !std::isnan(serial);
}

double local_now() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t t = system_clock::to_time_t(now);
  auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  {
    // std::localtime shares one buffer between callers.
    static std::mutex lock;
    std::lock_guard<std::mutex> guard(lock);
    local = *std::localtime(&t);
  }
  double day = static_cast<double>(day_number(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday));
  double secs = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + ms / 1000.0;
  return day + secs / 86400.0;
}

}  // namespace tap::vbs
