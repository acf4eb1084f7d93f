#include "builtin_call.h"

namespace tap::vbs::test {
namespace {

const Variant kDefault = i2(-2);

TEST(FormatBuiltins, FormatNumber) {
  run_cases({
      {u"FormatNumber", {Variant(1234.5)}, str(u"1,234.50")},
      {u"FormatNumber", {Variant(-1234567.891), i2(1)}, str(u"-1,234,567.9")},
      {u"FormatNumber", {Variant(2.675), i2(2)}, str(u"2.68")},
      {u"FormatNumber", {Variant(0.5), i2(0)}, str(u"1")},
      {u"FormatNumber", {Variant(-0.5), i2(1), i2(0)}, str(u"-.5")},
      {u"FormatNumber", {Variant(-0.5), i2(1), kDefault, i2(-1)}, str(u"(0.5)")},
      {u"FormatNumber", {Variant(1234.5), i2(0), kDefault, kDefault, i2(0)}, str(u"1235")},
      {u"FormatNumber", {Variant(999.996)}, str(u"1,000.00")},
      {u"FormatNumber", {Variant(-0.001)}, str(u"0.00")},
      {u"FormatNumber", {Variant(1e20), i2(0)}, str(u"100,000,000,000,000,000,000")},
      {u"FormatNumber", {str(u"12")}, str(u"12.00")},
      {u"FormatNumber", {Variant()}, str(u"0.00")},
      {u"FormatNumber", {i2(5), i2(-1)}, str(u"5.00")},
      fails(u"FormatNumber", {str(u"abc")}, 13),
      fails(u"FormatNumber", {Variant::null()}, 94),
      fails(u"FormatNumber", {i2(1), i2(-3)}, 5),
  });
}

TEST(FormatBuiltins, PercentAndCurrency) {
  run_cases({
      {u"FormatPercent", {Variant(0.256)}, str(u"25.60%")},
      {u"FormatPercent", {Variant(0.256), i2(0)}, str(u"26%")},
      {u"FormatPercent", {Variant(-0.5), i2(1)}, str(u"-50.0%")},
      {u"FormatPercent", {i2(12)}, str(u"1,200.00%")},
      {u"FormatCurrency", {Variant(1234.567)}, str(u"$1,234.57")},
      {u"FormatCurrency", {Variant(-1234.5)}, str(u"($1,234.50)")},
      {u"FormatCurrency", {Variant(-1234.5), i2(0), kDefault, i2(0)}, str(u"-$1,235")},
      {u"FormatCurrency", {Variant(0.5), i2(2), i2(0)}, str(u"$.50")},
  });
}

}  // namespace
}  // namespace tap::vbs::test
