// Values the golden scripts in vbscript/builtins already echo are not
// repeated here; rows stay where the script output cannot show the result
// type, and for the cases the scripts do not reach.
#include "builtin_call.h"

namespace tap::vbs::test {
namespace {

const Variant kDefault = i2(-2);

TEST(FormatBuiltins, FormatNumber) {
  run_cases({
      {u"FormatNumber", {Variant(0.5), i2(0)}, str(u"1")},
      {u"FormatNumber", {Variant(-0.5), i2(1), i2(0)}, str(u"-.5")},
      {u"FormatNumber", {Variant(-0.5), i2(1), kDefault, i2(-1)}, str(u"(0.5)")},
      {u"FormatNumber", {Variant(-0.001)}, str(u"0.00")},
      {u"FormatNumber", {Variant(1e20), i2(0)}, str(u"100,000,000,000,000,000,000")},
      {u"FormatNumber", {Variant()}, str(u"0.00")},
      {u"FormatNumber", {i2(5), i2(-1)}, str(u"5.00")},
      fails(u"FormatNumber", {i2(1), i2(-3)}, 5),
  });
}

TEST(FormatBuiltins, PercentAndCurrency) {
  run_cases({
      {u"FormatPercent", {i2(12)}, str(u"1,200.00%")},
      {u"FormatCurrency", {Variant(0.5), i2(2), i2(0)}, str(u"$.50")},
  });
}

}  // namespace
}  // namespace tap::vbs::test
