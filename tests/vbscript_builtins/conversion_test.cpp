// Values the golden scripts in vbscript/builtins already echo are not
// repeated here; rows stay where the script output cannot show the result
// type, and for the cases the scripts do not reach.
#include "builtin_call.h"

namespace tap::vbs::test {
namespace {

TEST(ConversionBuiltins, ConvertsWithVBScriptRoundingAndErrors) {
  run_cases({
      {u"CInt", {str(u"12")}, i2(12)},
      fails(u"CInt", {Variant(32767.5)}, 6),
      fails(u"CInt", {str(u"abc")}, 13),
      fails(u"CInt", {Variant::null()}, 94),
      {u"CLng", {Variant(2147483647.0)}, i4(2147483647)},
      fails(u"CLng", {Variant(2147483648.0)}, 6),
      {u"CByte", {Variant(255.4)}, Variant(std::uint8_t{255})},
      fails(u"CByte", {i2(256)}, 6),
      {u"CBool", {Variant(0.1)}, Variant(true)},
      {u"CDbl", {str(u"1.5")}, Variant(1.5)},
      {u"CDbl", {Variant()}, Variant(0.0)},
      {u"CSng", {Variant(0.5)}, Variant(0.5f)},
      {u"CCur", {Variant(1.23456)}, Variant(com::Currency{12346})},
      {u"CStr", {i2(-7)}, str(u"-7")},
      {u"CStr", {Variant(true)}, str(u"True")},
      {u"CDate", {Variant(1.5)}, date(1.5)},
  });
}

TEST(ConversionBuiltins, HexAndOctShowIntegersIn16BitsAndLongsIn32) {
  run_cases({
      {u"Hex", {i4(0)}, str(u"0")},
      {u"Hex", {Variant()}, str(u"0")},
      {u"Oct", {i4(-1)}, str(u"37777777777")},
      fails(u"Hex", {str(u"x")}, 13),
  });
}

TEST(ConversionBuiltins, FixTruncatesIntFloorsBothKeepTheType) {
  run_cases({
      {u"Int", {Variant(-1.5f)}, Variant(-2.0f)},
      {u"Int", {Variant(com::Currency{-15000})}, Variant(com::Currency{-20000})},
      {u"Fix", {Variant(com::Currency{-15000})}, Variant(com::Currency{-10000})},
      {u"Fix", {Variant()}, i2(0)},
      {u"Int", {date(2.75)}, date(2.0)},
      fails(u"Int", {Variant(com::Currency{INT64_MIN})}, 6),
      {u"Fix", {Variant(com::Currency{INT64_MIN})}, Variant(com::Currency{INT64_MIN / 10000 * 10000})},
  });
}

TEST(ConversionBuiltins, RoundGoesToEvenAtHalves) {
  run_cases({
      {u"Round", {Variant(0.135), i2(2)}, Variant(0.14)},
      {u"Round", {Variant(1.765), i2(2)}, Variant(1.76)},
      {u"Round", {Variant(1.775), i2(2)}, Variant(1.78)},
      {u"Round", {Variant(1234.5678), i2(0)}, Variant(1235.0)},
      {u"Round", {i4(7), i2(2)}, i4(7)},
      {u"Round", {str(u"2.5")}, Variant(2.0)},
      {u"Round", {Variant(com::Currency{25000})}, Variant(com::Currency{20000})},
      {u"Round", {Variant(com::Currency{35000})}, Variant(com::Currency{40000})},
      fails(u"Round", {Variant(com::Currency{INT64_MIN})}, 6),
  });
}

}  // namespace
}  // namespace tap::vbs::test
