// Values the golden scripts in vbscript/builtins already echo are not
// repeated here; rows stay where the script output cannot show the result
// type, and for the cases the scripts do not reach.
#include "builtin_call.h"

#include <cmath>

namespace tap::vbs::test {
namespace {

constexpr double kJan1st2020 = 43831;  // a Wednesday
constexpr double kHour = 1.0 / 24;

TEST(DateTimeBuiltins, DateSerialRollsMonthsAndDaysOver) {
  run_cases({
      {u"DateSerial", {i2(2020), i2(1), i2(1)}, date(kJan1st2020)},
      {u"DateSerial", {i2(2020), i2(1), i2(0)}, date(kJan1st2020 - 1)},
      {u"DateSerial", {i2(2020), i2(-11), i2(1)}, date(kJan1st2020 - 365)},
      {u"DateSerial", {i2(20), i2(1), i2(1)}, date(kJan1st2020)},
      {u"DateSerial", {i2(1899), i2(12), i2(30)}, date(0)},
      {u"DateSerial", {i2(100), i2(1), i2(1)}, date(-657434)},
      fails(u"DateSerial", {Variant::null(), i2(1), i2(1)}, 94),
      {u"TimeSerial", {i2(6), i2(30), i2(0)}, date(6.5 * kHour)},
      {u"TimeSerial", {i2(0), i2(90), i2(0)}, date(1.5 * kHour)},
      {u"TimeSerial", {i2(-1), i2(0), i2(0)}, date(-1 - 23 * kHour)},
  });
}

TEST(DateTimeBuiltins, PartsOfADate) {
  Variant d = date(kJan1st2020 + 45 + (13 * 3600 + 14 * 60 + 15) / 86400.0);  // 15 Feb 13:14:15
  Variant before_1900 = date(-1.25);  // 29 Dec 1899 06:00
  run_cases({
      {u"Year", {d}, i2(2020)},
      {u"Month", {d}, i2(2)},
      {u"Minute", {d}, i2(14)},
      {u"Weekday", {d, i2(2)}, i2(6)},
      {u"Day", {before_1900}, i2(29)},
      {u"Hour", {before_1900}, i2(6)},
      {u"Second", {date(0.99999999)}, i2(0)},
      {u"Day", {date(0.99999999)}, i2(31)},
      fails(u"Year", {date(1e7)}, 6),
      fails(u"Hour", {date(-1e7)}, 6),
      fails(u"Weekday", {d, i2(8)}, 5),
      {u"DateValue", {d}, date(kJan1st2020 + 45)},
      {u"TimeValue", {before_1900}, date(0.25)},
  });
}

TEST(DateTimeBuiltins, DateAddKeepsTheDayWhereTheMonthHasIt) {
  Variant jan31 = date(kJan1st2020 + 30);
  run_cases({
      {u"DateAdd", {str(u"M"), i2(-2), jan31}, date(kJan1st2020 - 32)},
      {u"DateAdd", {str(u"q"), i2(1), jan31}, date(kJan1st2020 + 30 + 30 + 29 + 31)},
      {u"DateAdd", {str(u"ww"), i2(2), date(kJan1st2020)}, date(kJan1st2020 + 14)},
      {u"DateAdd", {str(u"h"), i2(25), date(kJan1st2020)}, date(kJan1st2020 + 1 + kHour)},
      {u"DateAdd", {str(u"n"), i2(-30), date(0)}, date(-1 - 23.5 * kHour)},
      {u"DateAdd", {str(u"s"), i2(1), date(kJan1st2020)}, date(kJan1st2020 + 1 / 86400.0)},
      fails(u"DateAdd", {str(u"yyyy"), i2(9000), jan31}, 5),
      {u"DateAdd", {str(u"d"), i2(1), Variant::null()}, Variant::null()},
  });
}

TEST(DateTimeBuiltins, DateDiffCountsBoundariesCrossed) {
  Variant a = date(kJan1st2020 + 10 * kHour + 59 / 1440.0);  // 10:59
  Variant b = date(kJan1st2020 + 11 * kHour);                // 11:00
  run_cases({
      {u"DateDiff", {str(u"n"), a, b}, i4(1)},
      {u"DateDiff", {str(u"s"), a, b}, i4(60)},
      {u"DateDiff", {str(u"d"), a, b}, i4(0)},
      {u"DateDiff", {str(u"d"), date(kJan1st2020 + 0.9), date(kJan1st2020 + 1.1)}, i4(1)},
      {u"DateDiff", {str(u"m"), date(kJan1st2020), date(kJan1st2020 - 1)}, i4(-1)},
      {u"DateDiff", {str(u"q"), date(kJan1st2020), date(kJan1st2020 + 91)}, i4(1)},
      {u"DateDiff", {str(u"w"), date(kJan1st2020), date(kJan1st2020 + 13)}, i4(1)},
      // Wednesday to the next Sunday crosses one Sunday.
      {u"DateDiff", {str(u"ww"), date(kJan1st2020), date(kJan1st2020 + 4)}, i4(1)},
      {u"DateDiff", {str(u"ww"), date(kJan1st2020), date(kJan1st2020 + 4), i2(4)}, i4(0)},
      {u"DateDiff", {str(u"d"), Variant::null(), date(0)}, Variant::null()},
  });
}

TEST(DateTimeBuiltins, DatePartAndNames) {
  Variant d = date(kJan1st2020 + 45);  // Saturday 15 February
  run_cases({
      {u"DatePart", {str(u"w"), d}, i4(7)},
      {u"DatePart", {str(u"ww"), date(kJan1st2020 + 3)}, i4(1)},
      {u"DatePart", {str(u"ww"), date(kJan1st2020 + 4)}, i4(2)},
      // 1 Jan 2021 is a Friday: with four-day weeks it belongs to 2020's last.
      {u"DatePart", {str(u"ww"), date(kJan1st2020 + 366), i2(2), i2(2)}, i4(53)},
      {u"DatePart", {str(u"ww"), date(kJan1st2020 + 366 + 3), i2(2), i2(2)}, i4(1)},
      {u"WeekdayName", {i2(1)}, str(u"Sunday")},
      fails(u"WeekdayName", {i2(0)}, 5),
  });
}

TEST(DateTimeBuiltins, FormatDateTimeUsesUsPatterns) {
  Variant both = date(kJan1st2020 + 45 + 13.5 * kHour);
  run_cases({
      {u"FormatDateTime", {date(0.25)}, str(u"6:00:00 AM")},
      {u"FormatDateTime", {date(kJan1st2020 + 0.25 / 24), i2(3)}, str(u"12:15:00 AM")},
      fails(u"FormatDateTime", {both, i2(5)}, 5),
  });
}

TEST(DateTimeBuiltins, ClockFunctionsAgree) {
  BuiltinState st;
  double now = call(st, u"Now", {}).value.date().value;
  double today = call(st, u"Date", {}).value.date().value;
  double time = call(st, u"Time", {}).value.date().value;
  float timer = call(st, u"Timer", {}).value.r4();
  EXPECT_GT(today, kJan1st2020);
  EXPECT_EQ(today, std::floor(today));
  // A midnight between the calls is the one way these may disagree.
  if (std::floor(now) == today) {
    EXPECT_NEAR(now - today, time, 2 / 86400.0);
    EXPECT_NEAR(time * 86400.0, timer, 2.0);
  }
}

}  // namespace
}  // namespace tap::vbs::test
