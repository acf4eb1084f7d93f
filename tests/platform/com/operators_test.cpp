// Results whose type and value the golden script
// vbscript/language/operators.vbs echoes are not repeated here.
#include "platform/com/operators.h"

#include <gtest/gtest.h>

#include "variant_text.h"

namespace tap::com {
namespace {

using namespace test;

using BinaryOp = HRESULT (*)(const Variant&, const Variant&, Variant*);

struct Binary {
  const char* op;
  Variant l, r;
  const char* expected;  // show() of the result, or "" with an error
  HRESULT hr = S_OK;
};

BinaryOp lookup(std::string_view op) {
  if (op == "+") return var_add;
  if (op == "-") return var_sub;
  if (op == "*") return var_mul;
  if (op == "/") return var_div;
  if (op == "\\") return var_idiv;
  if (op == "Mod") return var_mod;
  if (op == "^") return var_pow;
  if (op == "&") return var_cat;
  if (op == "And") return var_and;
  if (op == "Or") return var_or;
  if (op == "Xor") return var_xor;
  if (op == "Eqv") return var_eqv;
  if (op == "Imp") return var_imp;
  return nullptr;
}

void run(const std::vector<Binary>& cases) {
  for (const Binary& c : cases) {
    BinaryOp f = lookup(c.op);
    ASSERT_NE(f, nullptr) << c.op;
    Variant out;
    HRESULT hr = f(c.l, c.r, &out);
    std::string what = show(c.l) + " " + c.op + " " + show(c.r);
    EXPECT_EQ(hr, c.hr) << what;
    if (c.hr == S_OK && hr == S_OK) {
      EXPECT_EQ(show(out), c.expected) << what;
    }
  }
}

TEST(Operators, ArithmeticTyping) {
  run({
      {"+", i2(1), i2(2), "I2 3"},
      {"-", i2(-32768), i2(1), "I4 -32769"},
      {"*", i2(200), i2(200), "I4 40000"},
      {"*", i4(65536), i4(65536), "R8 4294967296"},
      {"+", ui1(200), ui1(100), "I2 300"},
      {"-", ui1(1), ui1(2), "I2 -1"},
      {"+", ui1(1), ui1(2), "UI1 3"},
      {"+", boolean(true), boolean(true), "I2 -2"},
      {"+", boolean(true), ui1(1), "I2 0"},
      {"+", r4(1.5f), i2(1), "R4 2.5"},
      {"+", r4(1.5f), i4(1), "R8 2.5"},
      {"*", r4(0x1p127f), r4(4), "R8 6.80564733841877E+38"},
      {"+", r8(0.1), r8(0.2), "R8 0.3"},
      {"*", r8(1e308), i2(10), "", DISP_E_OVERFLOW},
      {"+", cy(1.5), r8(0.25), "CY 1.75"},
      {"*", cy(1.5), r8(2), "R8 3"},
      {"*", cy(1.5), i2(3), "CY 4.5"},
      {"+", Variant(Currency{INT64_MAX}), cy(1), "", DISP_E_OVERFLOW},
      {"+", date(36526), i2(1), "DATE 1/2/2000"},
      {"-", date(36526), r8(0.5), "DATE 12/31/1999 12:00:00 PM"},
      {"-", date(36527), date(36526), "R8 1"},
      {"*", date(2), i2(2), "R8 4"},
      {"+", date(2958465), i2(1), "", DISP_E_OVERFLOW},
  });
}

TEST(Operators, AdditionOfTextAndEmpty) {
  run({
      {"+", i2(2), str("1.5"), "R8 3.5"},
      {"+", str("a"), i2(1), "", DISP_E_TYPEMISMATCH},
      {"+", Variant(), Variant(), "I2 0"},
      {"+", Variant(), str("abc"), "BSTR abc"},
      {"+", ui1(5), Variant(), "UI1 5"},
      {"-", Variant(), ui1(5), "I2 -5"},
      {"*", Variant(), r8(2.5), "R8 0"},
      {"+", Variant::null(), i2(1), "NULL"},
      {"-", str("x"), Variant::null(), "NULL"},
      {"+", Variant::null(), str("x"), "NULL"},
  });
}

TEST(Operators, Division) {
  run({
      {"/", i2(1), i2(3), "R8 0.333333333333333"},
      {"/", i2(6), i2(3), "R8 2"},
      {"/", r4(1), i2(4), "R4 0.25"},
      {"/", r4(1), i4(4), "R8 0.25"},
      {"/", i2(1), i2(0), "", DISP_E_DIVBYZERO},
      {"/", i2(0), i2(0), "", DISP_E_OVERFLOW},
      {"/", Variant(), Variant(), "", DISP_E_OVERFLOW},
      {"/", r8(1e308), r8(1e-10), "", DISP_E_OVERFLOW},
      {"/", Variant::null(), i2(0), "NULL"},
      {"\\", i2(7), i2(2), "I2 3"},
      {"\\", i2(-7), i2(2), "I2 -3"},
      {"\\", r8(5.5), i2(2), "I4 3"},     // 5.5 rounds to 6 first
      {"\\", r8(4.5), i2(2), "I4 2"},     // 4.5 rounds to 4
      {"\\", ui1(9), ui1(2), "UI1 4"},
      {"\\", i2(-32768), i2(-1), "I4 32768"},
      {"\\", i4(-2147483647 - 1), i2(-1), "", DISP_E_OVERFLOW},
      {"\\", i2(1), i2(0), "", DISP_E_DIVBYZERO},
      {"\\", r8(3e9), i2(1), "", DISP_E_OVERFLOW},
      {"\\", str("9"), str("2"), "I4 4"},
      {"Mod", i2(7), i2(3), "I2 1"},
      {"Mod", i2(-7), i2(3), "I2 -1"},
      {"Mod", i2(7), i2(-3), "I2 1"},
      {"Mod", r8(7.5), i2(3), "I4 2"},   // 8 Mod 3
      {"Mod", i4(-2147483647 - 1), i2(-1), "I4 0"},
      {"Mod", i2(5), Variant(), "", DISP_E_DIVBYZERO},
      {"Mod", Variant::null(), i2(0), "NULL"},
      {"^", i2(2), i2(10), "R8 1024"},
      {"^", i2(2), i2(-1), "R8 0.5"},
      {"^", i2(-8), r8(1.0 / 3), "", E_INVALIDARG},
      {"^", i2(0), i2(-1), "", DISP_E_DIVBYZERO},
      {"^", i2(10), i2(400), "", DISP_E_OVERFLOW},
      {"^", Variant::null(), i2(2), "NULL"},
  });
}

TEST(Operators, Concatenation) {
  run({
      {"&", str("1"), i2(2), "BSTR 12"},
      {"&", boolean(true), str("!"), "BSTR True!"},
      {"&", r8(1.5), Variant(), "BSTR 1.5"},
      {"&", Variant::null(), str("x"), "BSTR x"},
      {"&", str("x"), Variant::null(), "BSTR x"},
      {"&", Variant::null(), Variant::null(), "NULL"},
      {"&", Variant(), Variant(), "BSTR "},
      {"&", date(36526.5), str(""), "BSTR 1/1/2000 12:00:00 PM"},
  });
}

TEST(Operators, LogicAndNull) {
  run({
      {"And", boolean(true), boolean(false), "BOOL False"},
      {"Or", boolean(true), boolean(false), "BOOL True"},
      {"Xor", boolean(true), boolean(true), "BOOL False"},
      {"Eqv", boolean(false), boolean(false), "BOOL True"},
      {"Imp", boolean(true), boolean(false), "BOOL False"},
      {"Imp", boolean(false), boolean(false), "BOOL True"},
      {"And", i2(12), i2(10), "I2 8"},
      {"Or", i2(12), i2(3), "I2 15"},
      {"Xor", i4(5), i2(1), "I4 4"},
      {"Eqv", i2(0), i2(0), "I2 -1"},
      {"Imp", i2(0), i2(5), "I2 -1"},
      {"And", ui1(0xF0), ui1(0x3C), "UI1 48"},
      {"And", boolean(true), i2(5), "I2 5"},
      {"And", r8(6.5), i2(7), "I4 6"},  // 6.5 rounds to 6
      {"Or", str("4"), i2(1), "I4 5"},
      {"And", str("True"), boolean(true), "BOOL True"},
      {"And", str("x"), boolean(true), "", DISP_E_TYPEMISMATCH},
      {"And", r8(3e10), i2(1), "", DISP_E_OVERFLOW},
      // Null is unknown: the result is Null unless the other side decides.
      {"And", Variant::null(), boolean(false), "BOOL False"},
      {"And", boolean(true), Variant::null(), "NULL"},
      {"And", Variant::null(), i2(0), "I2 0"},
      {"And", Variant::null(), i2(3), "NULL"},
      {"Or", Variant::null(), boolean(true), "BOOL True"},
      {"Or", boolean(false), Variant::null(), "NULL"},
      {"Or", Variant::null(), i2(-1), "I2 -1"},
      {"Or", Variant::null(), ui1(255), "UI1 255"},
      {"Xor", Variant::null(), boolean(true), "NULL"},
      {"Eqv", boolean(true), Variant::null(), "NULL"},
      {"Imp", Variant::null(), boolean(true), "BOOL True"},
      {"Imp", Variant::null(), boolean(false), "NULL"},
      {"Imp", boolean(false), Variant::null(), "BOOL True"},
      {"Imp", boolean(true), Variant::null(), "NULL"},
      {"And", Variant::null(), Variant::null(), "NULL"},
      {"And", Variant(), Variant(), "I2 0"},
  });
}

struct Unary {
  Variant v;
  const char* neg;  // show() of -v, or "" for an error
  const char* not_;
};

TEST(Operators, Unary) {
  const Unary cases[] = {
      {i2(5), "I2 -5", "I2 -6"},
      {i2(-32768), "I4 32768", "I2 32767"},
      {i4(-2147483647 - 1), "R8 2147483648", "I4 2147483647"},
      {ui1(5), "I2 -5", "UI1 250"},
      {boolean(true), "I2 1", "BOOL False"},
      {Variant(), "I2 0", "I2 -1"},
      {Variant::null(), "NULL", "NULL"},
      {r8(2.5), "R8 -2.5", "I4 -3"},
      {cy(1.5), "CY -1.5", "I4 -3"},
      {str("3"), "R8 -3", "I4 -4"},
      {str("False"), "", "BOOL True"},
      {date(36526), "DATE 12/28/1799", "I4 -36527"},
  };
  for (const Unary& c : cases) {
    Variant out;
    HRESULT hr = var_neg(c.v, &out);
    if (*c.neg) {
      EXPECT_EQ(hr, S_OK) << show(c.v);
      EXPECT_EQ(show(out), c.neg) << show(c.v);
    } else {
      EXPECT_EQ(hr, DISP_E_TYPEMISMATCH) << show(c.v);
    }
    ASSERT_EQ(var_not(c.v, &out), S_OK) << show(c.v);
    EXPECT_EQ(show(out), c.not_) << show(c.v);
  }
  Variant out;
  EXPECT_EQ(var_neg(Variant(Currency{INT64_MIN}), &out), DISP_E_OVERFLOW);
}

struct Comparison {
  Variant l, r;
  Compare binary, text;
};

TEST(Operators, Comparisons) {
  using C = Compare;
  const Comparison cases[] = {
      {i2(1), i2(2), C::less, C::less},
      {i2(2), r8(2.0), C::equal, C::equal},
      {i4(3), r8(2.5), C::greater, C::greater},
      {boolean(true), i2(0), C::less, C::less},  // True is -1
      {cy(1.5), r8(1.5), C::equal, C::equal},
      {str("abc"), str("abd"), C::less, C::less},
      {str("abc"), str("ABC"), C::greater, C::equal},
      {str("ab"), str("abc"), C::less, C::less},
      {str("1"), i2(1), C::greater, C::greater},  // a number is less than any text
      {i2(99), str("1"), C::less, C::less},
      {Variant(), i2(0), C::equal, C::equal},
      {Variant(), i2(-1), C::greater, C::greater},
      {Variant(), str(""), C::equal, C::equal},
      {Variant(), str("a"), C::less, C::less},
      {Variant(), Variant(), C::equal, C::equal},
      {Variant::null(), i2(1), C::null, C::null},
      {str("x"), Variant::null(), C::null, C::null},
      {date(36526), r8(36526), C::equal, C::equal},
      {Variant(u"\u00e9"), Variant(u"\u00c9"), C::greater, C::equal},
      // Single against Double at Single precision (0.1 equals CSng(0.1) in
      // the golden script), unless the Double is beyond Single's range.
      {r4(0.1f), r8(0.1000001), C::less, C::less},
      {r4(3.4e38f), r8(1e300), C::less, C::less},
      {r4(0.1f), i4(0), C::greater, C::greater},
  };
  for (const Comparison& c : cases) {
    Compare out;
    ASSERT_EQ(var_cmp(c.l, c.r, &out), S_OK) << show(c.l) << " vs " << show(c.r);
    EXPECT_EQ(out, c.binary) << show(c.l) << " vs " << show(c.r);
    ASSERT_EQ(var_cmp(c.l, c.r, &out, true), S_OK);
    EXPECT_EQ(out, c.text) << show(c.l) << " vs " << show(c.r) << " (text)";
  }
  Compare out;
  EXPECT_EQ(var_cmp(Variant::error(1), i2(1), &out), DISP_E_TYPEMISMATCH);
}

TEST(Operators, ByRefOperandsUseTheirTarget) {
  Variant a = i2(32767);
  Variant out;
  ASSERT_EQ(var_add(Variant::by_ref(&a), i2(1), &out), S_OK);
  EXPECT_EQ(show(out), "I4 32768");
}

TEST(Operators, ResultMayOverwriteAnOperand) {
  Variant a = i2(20000);
  ASSERT_EQ(var_add(a, a, &a), S_OK);
  EXPECT_EQ(show(a), "I4 40000");
  Variant s = str("ab");
  ASSERT_EQ(var_cat(s, s, &s), S_OK);
  EXPECT_EQ(show(s), "BSTR abab");
  Variant e;
  Variant one = i2(1);
  ASSERT_EQ(var_add(e, one, &one), S_OK);
  EXPECT_EQ(show(one), "I2 1");
  Variant b = boolean(true);
  ASSERT_EQ(var_not(b, &b), S_OK);
  EXPECT_EQ(show(b), "BOOL False");
}

}  // namespace
}  // namespace tap::com
