// Values the golden scripts in vbscript/builtins already echo are not
// repeated here; rows stay where the script output cannot show the result
// type, and for the cases the scripts do not reach.
#include "builtin_call.h"

#include <cmath>

namespace tap::vbs::test {
namespace {

TEST(MathBuiltins, KeepTypesAndRejectBadDomains) {
  run_cases({
      {u"Abs", {i2(-5)}, i2(5)},
      {u"Abs", {i2(-32768)}, i4(32768)},
      {u"Abs", {Variant(-1.5)}, Variant(1.5)},
      {u"Abs", {str(u"-2")}, Variant(2.0)},
      {u"Abs", {Variant(true)}, i2(1)},
      {u"Abs", {Variant()}, i2(0)},
      {u"Abs", {Variant::null()}, Variant::null()},
      fails(u"Abs", {Variant(com::Currency{INT64_MIN})}, 6),
      {u"Sgn", {Variant(-0.5)}, i2(-1)},
      {u"Sgn", {i2(0)}, i2(0)},
      {u"Sgn", {str(u"3")}, i2(1)},
      {u"Sqr", {i2(9)}, Variant(3.0)},
      {u"Log", {Variant(std::exp(2.0))}, Variant(2.0)},
      {u"Atn", {i2(1)}, Variant(std::atan(1.0))},
      {u"Cos", {i2(0)}, Variant(1.0)},
      {u"Sin", {Variant::null()}, Variant::null()},
      {u"Tan", {i2(0)}, Variant(0.0)},
      fails(u"Cos", {str(u"x")}, 13),
      fails(u"Rnd", {Variant(-1e300)}, 6),
      {u"RGB", {i2(1), i2(2), i2(3)}, i4(0x030201)},
      {u"RGB", {i2(256), Variant(255.4), str(u"300")}, i4(0xFFFFFF)},
      fails(u"RGB", {i2(0), i2(-1), i2(0)}, 5),
      fails(u"RGB", {i2(0), i2(0), Variant::null()}, 94),
  });
}

TEST(MathBuiltins, RndZeroGivesTheStateBeforeAnyDraw) {
  BuiltinState st;
  EXPECT_EQ(call(st, u"Rnd", {i2(0)}).value.r4(), 327680.0f / 16777216.0f);
  float next = call(st, u"Rnd", {}).value.r4();
  EXPECT_NE(next, 327680.0f / 16777216.0f);
  EXPECT_EQ(call(st, u"Rnd", {Variant(0.0)}).value.r4(), next);
}

std::vector<float> draws(BuiltinState& st, int n) {
  std::vector<float> out;
  for (int i = 0; i < n; ++i) out.push_back(call(st, u"Rnd", {}).value.r4());
  return out;
}

TEST(MathBuiltins, RndRepeatsAfterReseedingWithTheSameNegativeNumber) {
  BuiltinState a, b;
  call(a, u"Rnd", {i2(-7)});
  call(b, u"Rnd", {i2(-7)});
  std::vector<float> first = draws(a, 50);
  EXPECT_EQ(first, draws(b, 50));
  for (float x : first) {
    EXPECT_GE(x, 0.0f);
    EXPECT_LT(x, 1.0f);
  }
  // Not a constant sequence.
  EXPECT_NE(first[0], first[1]);
  Outcome again = call(a, u"Rnd", {i2(0)});
  EXPECT_EQ(again.value.r4(), first.back());
}

TEST(MathBuiltins, RandomizeWithASeedChangesTheSequenceReproducibly) {
  BuiltinState a, b, c;
  call(a, u"Randomize", {i2(42)});
  call(b, u"Randomize", {i2(42)});
  call(c, u"Randomize", {i2(43)});
  std::vector<float> x = draws(a, 10);
  EXPECT_EQ(x, draws(b, 10));
  EXPECT_NE(x, draws(c, 10));
}

}  // namespace
}  // namespace tap::vbs::test
