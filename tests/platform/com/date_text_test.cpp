#include "platform/com/date_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "variant_text.h"

namespace tap::com {
namespace {

using namespace test;

TEST(DateText, SerialDaysCarryOverMonthsAndDays) {
  struct Case {
    int y, m, d;
    std::int64_t serial;
  };
  const Case cases[] = {
      {1899, 12, 30, 0},   {1900, 1, 1, 2},     {2000, 1, 1, 36526},   {1999, 13, 1, 36526},
      {2000, 3, 0, 36585},  // the day before March 1st of a leap year: Feb 29
      {2000, 0, 1, 36495},  // month 0 is December of the year before
      {2001, -11, 1, 36526}, {100, 1, 1, -657434}, {9999, 12, 31, 2958465}, {1899, 12, 29, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(serial_from_civil(c.y, c.m, c.d), c.serial) << c.y << '-' << c.m << '-' << c.d;
}

TEST(DateText, SplitAndJoinAgree) {
  const double dates[] = {0, 1.5, -1.25, 36526.999988426, 2958465.5, -657434, 45000.123456};
  for (double d : dates) {
    DateParts p;
    ASSERT_TRUE(split_date(d, &p)) << d;
    double back;
    ASSERT_TRUE(join_date(p, &back)) << d;
    EXPECT_NEAR(back, d, 0.6 / 86400) << d;
  }
  DateParts p;
  EXPECT_FALSE(split_date(2958466, &p));
  EXPECT_FALSE(split_date(-657435, &p));
  EXPECT_FALSE(split_date(NAN, &p));
}

TEST(DateText, MoreTextForms) {
  const std::pair<const char*, const char*> cases[] = {
      {"2003-01-02 10:30:00", "1/2/2003 10:30:00 AM"},
      {"2003/1/2", "1/2/2003"},
      {"1-2-2003", "1/2/2003"},
      {"Jan 2 2003 10:30 PM", "1/2/2003 10:30:00 PM"},
      {"10:30 PM 1/2/2003", "1/2/2003 10:30:00 PM"},
      {"December 2003", "12/1/2003"},
      {"  1/2/2003  ", "1/2/2003"},
      {"12:30:45.75", "12:30:45 PM"},
      {"0:00", "12:00:00 AM"},
  };
  for (auto [text, expected] : cases) {
    double d;
    ASSERT_EQ(parse_date(widen(text), &d), S_OK) << text;
    EXPECT_EQ(narrow(format_date(d)), expected) << text;
  }
}

TEST(DateText, MonthAndDayAloneMeanTheCurrentYear) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  for (const char* text : {"3/4", "Mar 4", "4 March"}) {
    double d;
    ASSERT_EQ(parse_date(widen(text), &d), S_OK) << text;
    DateParts p;
    ASSERT_TRUE(split_date(d, &p));
    EXPECT_EQ(p.year, local.tm_year + 1900) << text;
    EXPECT_EQ(p.month, 3) << text;
    EXPECT_EQ(p.day, 4) << text;
  }
}

TEST(DateText, RejectsMalformedText) {
  for (const char* text : {"10::30", "10:30 PM PM", "1/2/2003 AM", "Jan Feb 2003", "32/1/2003", "1/2/99999",
                           "1/2/2003 25:00", "13 AM", "#1/2/2003#", "1/2/2003x"}) {
    double d;
    EXPECT_EQ(parse_date(widen(text), &d), DISP_E_TYPEMISMATCH) << text;
  }
}

}  // namespace
}  // namespace tap::com
