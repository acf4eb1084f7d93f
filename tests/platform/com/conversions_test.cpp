#include "platform/com/conversions.h"

#include <gtest/gtest.h>

#include <cmath>

#include "variant_text.h"

namespace tap::com {
namespace {

using namespace test;

struct ToText {
  Variant value;
  const char* text;
};

TEST(Conversions, ValuesPrintAsVBScriptDoes) {
  const ToText cases[] = {
      {r8(1.5), "1.5"},
      {r8(1.0 / 3), "0.333333333333333"},
      {r8(2.0 / 3), "0.666666666666667"},
      {r8(0.1 + 0.2), "0.3"},
      {r8(1e16), "1E+16"},
      {r8(1e15), "1E+15"},
      {r8(123456789012345.0), "123456789012345"},
      {r8(1234567890123456.0), "1.23456789012346E+15"},
      {r8(1.5e-7), "0.00000015"},
      {r8(0.0001), "0.0001"},
      {r8(1e-15), "0.000000000000001"},
      {r8(1e-16), "1E-16"},
      {r8(1.5e-16), "1.5E-16"},
      {r8(static_cast<double>(0.01f) + 0.01), "1.99999997764826E-02"},  // too many places for fixed
      {r8(123456789.125), "123456789.125"},
      {r8(920.0000000000001), "920"},
      {r8(-1e-20), "-1E-20"},
      {r8(1.7976931348623157e308), "1.79769313486232E+308"},
      {r4(0.6171875f), "0.6171875"},
      {r4(1e-3f), "0.001"},
      {r4(0.001234567f), "1.234567E-03"},
      {r8(1e100), "1E+100"},
      {r8(-2.5), "-2.5"},
      {r8(-0.0), "0"},
      {r4(1.0f / 3), "0.3333333"},
      {r4(16777216.0f), "1.677722E+07"},
      {cy(1.5), "1.5"},
      {cy(-0.0001), "-0.0001"},
      {cy(12), "12"},
      {Variant(Currency{INT64_MAX}), "922337203685477.5807"},
      {i2(-32768), "-32768"},
      {i4(2147483647), "2147483647"},
      {ui1(255), "255"},
      {boolean(true), "True"},
      {boolean(false), "False"},
      {Variant(), ""},
      // Dates print in US form.
      {date(0), "12:00:00 AM"},
      {date(1), "12/31/1899"},
      {date(36526), "1/1/2000"},
      {date(36526.5), "1/1/2000 12:00:00 PM"},
      {date(0.75), "6:00:00 PM"},
      {date(36526 + (13 * 3600 + 5 * 60 + 9) / 86400.0), "1/1/2000 1:05:09 PM"},
      {date(-1.25), "12/29/1899 6:00:00 AM"},
      {date(2958465), "12/31/9999"},
      {date(-657434), "1/1/100"},
      {date(36526 + 0.99999999), "1/2/2000"},  // rounds to the next midnight
  };
  for (const auto& c : cases) {
    BStr text;
    ASSERT_EQ(to_bstr(c.value, &text), S_OK) << c.text;
    EXPECT_EQ(narrow(text.view()), c.text);
  }
}

struct FromText {
  const char* text;
  VARTYPE vt;
  HRESULT hr;
  const char* expected;  // show() of the result
};

TEST(Conversions, TextToNumbersAndDates) {
  const FromText cases[] = {
      {"42", VT_I2, S_OK, "I2 42"},
      {"  42  ", VT_I4, S_OK, "I4 42"},
      {"-7", VT_I4, S_OK, "I4 -7"},
      {"7-", VT_I4, S_OK, "I4 -7"},
      {"(12)", VT_I4, S_OK, "I4 -12"},
      {"+3", VT_I2, S_OK, "I2 3"},
      {"1,234,567", VT_I4, S_OK, "I4 1234567"},
      {"$5.25", VT_R8, S_OK, "R8 5.25"},
      {"-$5", VT_R8, S_OK, "R8 -5"},
      {"1.5E3", VT_R8, S_OK, "R8 1500"},
      {"1e-2", VT_R8, S_OK, "R8 0.01"},
      {".5", VT_R8, S_OK, "R8 0.5"},
      {"5.", VT_R8, S_OK, "R8 5"},
      {"&H10", VT_I4, S_OK, "I4 16"},
      {"&hFF", VT_I2, S_OK, "I2 255"},
      {"&HFFFF", VT_I4, S_OK, "I4 -1"},
      {"&H10000", VT_I4, S_OK, "I4 65536"},
      {"&O17", VT_I2, S_OK, "I2 15"},
      {"0.0000000000000000000000000000000000000000000000000000000123", VT_R8, S_OK, "R8 1.23E-56"},
      {"2.5", VT_I2, S_OK, "I2 2"},
      {"3.5", VT_I2, S_OK, "I2 4"},
      {"-2.5", VT_I4, S_OK, "I4 -2"},
      {"32767", VT_I2, S_OK, "I2 32767"},
      {"32768", VT_I2, DISP_E_OVERFLOW, ""},
      {"-32769", VT_I2, DISP_E_OVERFLOW, ""},
      {"2147483648", VT_I4, DISP_E_OVERFLOW, ""},
      {"256", VT_UI1, DISP_E_OVERFLOW, ""},
      {"-1", VT_UI1, DISP_E_OVERFLOW, ""},
      {"1E309", VT_R8, DISP_E_OVERFLOW, ""},
      {"1E39", VT_R4, DISP_E_OVERFLOW, ""},
      {"&H100000000", VT_I4, DISP_E_OVERFLOW, ""},
      {"", VT_I4, DISP_E_TYPEMISMATCH, ""},
      {"   ", VT_R8, DISP_E_TYPEMISMATCH, ""},
      {"abc", VT_I2, DISP_E_TYPEMISMATCH, ""},
      {"12abc", VT_R8, DISP_E_TYPEMISMATCH, ""},
      {"1.2.3", VT_R8, DISP_E_TYPEMISMATCH, ""},
      {"1e", VT_R8, DISP_E_TYPEMISMATCH, ""},
      {"&H", VT_I4, DISP_E_TYPEMISMATCH, ""},
      {"&HG", VT_I4, DISP_E_TYPEMISMATCH, ""},
      {"&O8", VT_I4, DISP_E_TYPEMISMATCH, ""},
      {"(5", VT_I4, DISP_E_TYPEMISMATCH, ""},
      {",5", VT_I4, DISP_E_TYPEMISMATCH, ""},
      {"12.3456", VT_CY, S_OK, "CY 12.3456"},
      {"0.00005", VT_CY, S_OK, "CY 0"},
      {"0.00015", VT_CY, S_OK, "CY 0.0002"},
      {"922337203685477", VT_CY, S_OK, "CY 922337203685477"},
      {"922337203685478", VT_CY, DISP_E_OVERFLOW, ""},
      {"True", VT_BOOL, S_OK, "BOOL True"},
      {" false ", VT_BOOL, S_OK, "BOOL False"},
      {"TRUE", VT_BOOL, S_OK, "BOOL True"},
      {"0", VT_BOOL, S_OK, "BOOL False"},
      {"-0.5", VT_BOOL, S_OK, "BOOL True"},
      {"#TRUE#", VT_BOOL, S_OK, "BOOL True"},
      {" #False# ", VT_BOOL, S_OK, "BOOL False"},
      {"#TRUE#", VT_I2, DISP_E_TYPEMISMATCH, ""},
      {"#yes#", VT_BOOL, DISP_E_TYPEMISMATCH, ""},
      {"yes", VT_BOOL, DISP_E_TYPEMISMATCH, ""},
      // Dates.
      {"1/2/2003", VT_DATE, S_OK, "DATE 1/2/2003"},
      {"2003-01-02", VT_DATE, S_OK, "DATE 1/2/2003"},
      {"January 2, 2003", VT_DATE, S_OK, "DATE 1/2/2003"},
      {"2 Jan 2003", VT_DATE, S_OK, "DATE 1/2/2003"},
      {"Thursday, January 2, 2003", VT_DATE, S_OK, "DATE 1/2/2003"},
      {"13/1/2000", VT_DATE, S_OK, "DATE 1/13/2000"},
      {"1/2/03", VT_DATE, S_OK, "DATE 1/2/2003"},
      {"1/2/45", VT_DATE, S_OK, "DATE 1/2/1945"},
      {"10:30", VT_DATE, S_OK, "DATE 10:30:00 AM"},
      {"10:30:15 PM", VT_DATE, S_OK, "DATE 10:30:15 PM"},
      {"12:00 AM", VT_DATE, S_OK, "DATE 12:00:00 AM"},
      {"12:05 PM", VT_DATE, S_OK, "DATE 12:05:00 PM"},
      {"3 PM", VT_DATE, S_OK, "DATE 3:00:00 PM"},
      {"1/2/2003 13:45:01", VT_DATE, S_OK, "DATE 1/2/2003 1:45:01 PM"},
      {"2/29/2000", VT_DATE, S_OK, "DATE 2/29/2000"},
      {"2/29/2001", VT_DATE, DISP_E_TYPEMISMATCH, ""},
      {"13/13/2000", VT_DATE, DISP_E_TYPEMISMATCH, ""},
      {"25:00", VT_DATE, DISP_E_TYPEMISMATCH, ""},
      {"10:60", VT_DATE, DISP_E_TYPEMISMATCH, ""},
      {"hello", VT_DATE, DISP_E_TYPEMISMATCH, ""},
      {"", VT_DATE, DISP_E_TYPEMISMATCH, ""},
      {"12", VT_DATE, DISP_E_TYPEMISMATCH, ""},
      {"1/2/3/4", VT_DATE, DISP_E_TYPEMISMATCH, ""},
  };
  for (const auto& c : cases) {
    Variant out;
    HRESULT hr = change_type(out, str(c.text), c.vt);
    EXPECT_EQ(hr, c.hr) << '"' << c.text << '"';
    if (hr == S_OK && c.hr == S_OK) {
      EXPECT_EQ(show(out), c.expected) << '"' << c.text << '"';
    }
  }
}

struct Change {
  Variant value;
  VARTYPE vt;
  HRESULT hr;
  const char* expected;
};

TEST(Conversions, BetweenTypes) {
  const Change cases[] = {
      // Banker's rounding to whole numbers.
      {r8(2.5), VT_I2, S_OK, "I2 2"},
      {r8(3.5), VT_I2, S_OK, "I2 4"},
      {r8(-2.5), VT_I4, S_OK, "I4 -2"},
      {r8(2.5000001), VT_I4, S_OK, "I4 3"},
      {r4(0.5f), VT_UI1, S_OK, "UI1 0"},
      {r4(1.5f), VT_UI1, S_OK, "UI1 2"},
      {cy(2.5), VT_I4, S_OK, "I4 2"},
      {cy(-3.5), VT_I2, S_OK, "I2 -4"},
      {date(1.5), VT_I4, S_OK, "I4 2"},
      // Ranges.
      {r8(32767.4), VT_I2, S_OK, "I2 32767"},
      {r8(32767.5), VT_I2, DISP_E_OVERFLOW, ""},
      {r8(-32768.5), VT_I2, S_OK, "I2 -32768"},
      {i4(40000), VT_I2, DISP_E_OVERFLOW, ""},
      {r8(2147483647.5), VT_I4, DISP_E_OVERFLOW, ""},
      {r8(NAN), VT_I4, DISP_E_OVERFLOW, ""},
      {i2(-1), VT_UI1, DISP_E_OVERFLOW, ""},
      {r8(1e300), VT_R4, DISP_E_OVERFLOW, ""},
      {r8(1e300), VT_CY, DISP_E_OVERFLOW, ""},
      {r8(1e10), VT_DATE, DISP_E_OVERFLOW, ""},
      {r8(-657435), VT_DATE, DISP_E_OVERFLOW, ""},
      {r8(0.123456), VT_CY, S_OK, "CY 0.1235"},
      {r8(0.00005), VT_CY, S_OK, "CY 0"},
      // The whole part scales exactly, past 2^53 / 10^4 too (the range ends
      // are the golden script conversion_edges.vbs's).
      {r8(123456789012.5), VT_CY, S_OK, "CY 123456789012.5"},
      {r8(INFINITY), VT_CY, DISP_E_OVERFLOW, ""},
      // Booleans.
      {boolean(true), VT_I2, S_OK, "I2 -1"},
      {boolean(true), VT_UI1, S_OK, "UI1 255"},
      {boolean(true), VT_R8, S_OK, "R8 -1"},
      {boolean(true), VT_CY, S_OK, "CY -1"},
      {boolean(true), VT_DATE, S_OK, "DATE 12/29/1899"},
      {r8(0.1), VT_BOOL, S_OK, "BOOL True"},
      {i4(0), VT_BOOL, S_OK, "BOOL False"},
      {cy(0), VT_BOOL, S_OK, "BOOL False"},
      // Empty and Null.
      {Variant(), VT_I2, S_OK, "I2 0"},
      {Variant(), VT_R8, S_OK, "R8 0"},
      {Variant(), VT_BOOL, S_OK, "BOOL False"},
      {Variant(), VT_DATE, S_OK, "DATE 12:00:00 AM"},
      {Variant(), VT_NULL, S_OK, "NULL"},
      {Variant::null(), VT_I4, DISP_E_TYPEMISMATCH, ""},
      {Variant::null(), VT_BSTR, DISP_E_TYPEMISMATCH, ""},
      {Variant::null(), VT_BOOL, DISP_E_TYPEMISMATCH, ""},
      {Variant::null(), VT_NULL, S_OK, "NULL"},
      {Variant::null(), VT_VARIANT, S_OK, "NULL"},
      {i4(5), VT_EMPTY, S_OK, "EMPTY"},
      // Errors and objects.
      {Variant::error(5), VT_I4, S_OK, "I4 5"},
      {Variant::error(5), VT_BSTR, DISP_E_TYPEMISMATCH, ""},
      {i4(7), VT_ERROR, S_OK, "ERROR 7"},
      {i4(7), VT_DISPATCH, DISP_E_TYPEMISMATCH, ""},
      {Variant(Ref<IDispatch>()), VT_I4, DISP_E_TYPEMISMATCH, ""},
      {i4(7), VT_ARRAY | VT_VARIANT, DISP_E_TYPEMISMATCH, ""},
      {i4(7), 99, DISP_E_BADVARTYPE, ""},
      // Dates from numbers keep their fraction.
      {r8(36526.25), VT_DATE, S_OK, "DATE 1/1/2000 6:00:00 AM"},
      {date(36526.25), VT_R8, S_OK, "R8 36526.25"},
  };
  for (const auto& c : cases) {
    Variant out = str("unchanged");
    HRESULT hr = change_type(out, c.value, c.vt);
    EXPECT_EQ(hr, c.hr) << show(c.value) << " -> " << c.vt;
    if (c.hr == S_OK) {
      EXPECT_EQ(show(out), c.expected) << show(c.value);
    } else {
      EXPECT_EQ(show(out), "BSTR unchanged") << "failed conversion must leave dest alone";
    }
  }
}

TEST(Conversions, TextRoundTripsThroughDouble) {
  const double values[] = {1.5, 1.0 / 3, 1e16, 1.5e-7, -123.456, 1e-300, 9.87654321e200};
  for (double v : values) {
    BStr text;
    ASSERT_EQ(to_bstr(r8(v), &text), S_OK);
    double back;
    ASSERT_EQ(to_r8(Variant(text), &back), S_OK) << narrow(text.view());
    EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << narrow(text.view());
  }
}

TEST(Conversions, ByRefArgumentsConvertTheirTarget) {
  Variant target = str("12");
  Variant ref = Variant::by_ref(&target);
  std::int32_t v = 0;
  ASSERT_EQ(to_i4(ref, &v), S_OK);
  EXPECT_EQ(v, 12);
  Variant out;
  ASSERT_EQ(change_type(out, ref, VT_R8), S_OK);
  EXPECT_EQ(show(out), "R8 12");
}

TEST(Conversions, ChangeTypeInPlace) {
  Variant v = str("7");
  ASSERT_EQ(change_type(v, v, VT_I2), S_OK);
  EXPECT_EQ(show(v), "I2 7");
}

TEST(Conversions, EmptyTextIsNotNullText) {
  BStr text;
  ASSERT_EQ(to_bstr(Variant(), &text), S_OK);
  EXPECT_FALSE(text.is_null());
  EXPECT_TRUE(text.empty());
}

}  // namespace
}  // namespace tap::com
