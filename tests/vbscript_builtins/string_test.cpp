// Values the golden scripts in vbscript/builtins already echo are not
// repeated here; rows stay where the script output cannot show the result
// type, and for the cases the scripts do not reach.
#include "builtin_call.h"

namespace tap::vbs::test {
namespace {

const Variant kNull = Variant::null();
const Variant kMissing = Variant::missing();

TEST(StringBuiltins, CharacterCodes) {
  run_cases({
      {u"Asc", {str(u"\u20AC")}, i2(128)},  // euro sign in Windows-1252
      {u"AscW", {str(u"\uFFFF")}, i2(-1)},
      {u"AscB", {str(u"\u0141")}, i2(0x41)},
      fails(u"Asc", {kNull}, 94),
      fails(u"Chr", {i2(256)}, 5),
      fails(u"Chr", {i2(-1)}, 5),
      {u"ChrW", {i4(0x263A)}, str(u"\u263A")},
      {u"ChrW", {i4(-1)}, str(u"\uFFFF")},
      fails(u"ChrW", {i4(65536)}, 5),
  });
}

TEST(StringBuiltins, InStrTakesAnOptionalStartFirst) {
  run_cases({
      {u"InStr", {i2(1), str(u"ABC"), str(u"b"), i2(0)}, i4(0)},
      {u"InStr", {kMissing, str(u"abc"), str(u"c")}, i4(3)},
      {u"InStr", {i2(2), str(u"abc"), str(u"")}, i4(2)},
      {u"InStr", {str(u""), str(u"a")}, i4(0)},
      {u"InStr", {i2(9), str(u"abc"), str(u"a")}, i4(0)},
      {u"InStr", {kNull, str(u"a")}, kNull},
      {u"InStr", {str(u"a"), kNull}, kNull},
      fails(u"InStr", {i2(0), str(u"abc"), str(u"a")}, 5),
      fails(u"InStr", {kNull, str(u"abc"), str(u"a")}, 94),
      fails(u"InStr", {i2(1), str(u"abc"), str(u"a"), i2(7)}, 5),
      {u"InStr", {i4(123), i4(2)}, i4(2)},
  });
}

TEST(StringBuiltins, InStrRevSearchesBackwardsFromStart) {
  run_cases({
      {u"InStrRev", {str(u"abcabc"), str(u"bc"), i2(2)}, i4(0)},
      {u"InStrRev", {str(u"ABC"), str(u"a"), i2(-1), i2(1)}, i4(1)},
      {u"InStrRev", {str(u"abc"), str(u"")}, i4(3)},
      {u"InStrRev", {str(u"abc"), str(u"a"), i2(4)}, i4(0)},
      fails(u"InStrRev", {str(u"abc"), str(u"a"), i2(0)}, 5),
      {u"InStrRev", {kNull, str(u"a")}, kNull},
  });
}

TEST(StringBuiltins, SubstringsClampAtTheEnds) {
  run_cases({
      {u"Left", {i4(12345), i2(2)}, str(u"12")},
      fails(u"Mid", {str(u"hello"), i2(1), i2(-1)}, 5),
      {u"MidB", {str(u"hello"), i2(3), i2(4)}, str(u"el")},
  });
}

TEST(StringBuiltins, LengthAndCase) {
  run_cases({
      {u"Len", {Variant(std::u16string(u"a\0b", 3))}, i4(3)},
      {u"UCase", {str(u"a\u00e9z")}, str(u"A\u00c9Z")},
      {u"LCase", {str(u"\u0416X")}, str(u"\u0436x")},
      {u"Trim", {str(u"\ta\t")}, str(u"\ta\t")},
  });
}

TEST(StringBuiltins, ReplaceStartsTheResultAtStart) {
  run_cases({
      {u"Replace", {str(u"aXbXc"), str(u"x"), str(u"-")}, str(u"aXbXc")},
      {u"Replace", {str(u"abc"), str(u""), str(u"-")}, str(u"abc")},
      {u"Replace", {str(u"abc"), str(u"b"), str(u"")}, str(u"ac")},
      {u"Replace", {str(u"abc"), str(u"b"), str(u"x"), i2(9)}, str(u"")},
      {u"Replace", {str(u"aa"), str(u"a"), str(u"aa")}, str(u"aaaa")},
      fails(u"Replace", {str(u"a"), str(u"a"), str(u"b"), i2(0)}, 5),
      fails(u"Replace", {str(u"a"), str(u"a"), str(u"b"), i2(1), i2(-2)}, 5),
  });
}

TEST(StringBuiltins, BuildingAndComparing) {
  run_cases({
      fails(u"Space", {i2(-1)}, 5),
      fails(u"Space", {i4(0x7FFFFFFF)}, 7),
      {u"String", {i2(2), i4(65 + 256)}, str(u"AA")},
      {u"String", {kNull, str(u"x")}, kNull},
      fails(u"String", {i2(2), str(u"")}, 5),
      {u"StrComp", {str(u"a"), str(u"B")}, i2(1)},
      fails(u"StrReverse", {kNull}, 94),
  });
}

TEST(StringBuiltins, SplitJoinAndFilter) {
  run_cases({
      {u"Split", {str(u"a b c")}, array_of({str(u"a"), str(u"b"), str(u"c")})},
      {u"Split", {str(u"a,b,c"), str(u","), i2(1)}, array_of({str(u"a,b,c")})},
      {u"Split", {str(u"a,b"), str(u","), i2(0)}, array_of({})},
      fails(u"Split", {str(u"a"), str(u","), i2(-2)}, 5),
      {u"Join", {array_of({str(u"a"), i2(1), Variant()})}, str(u"a 1 ")},
      fails(u"Filter", {i2(1), str(u"a")}, 13),
  });
}

TEST(StringBuiltins, EscapeEncodesAndUnescapeDecodes) {
  const Variant kNull = Variant::null();
  run_cases({
      {u"Escape", {str(u" %?\u00ff")}, str(u"%20%25%3F%FF")},
      {u"Escape", {str(u"\u0100\u20ac")}, str(u"%u0100%u20AC")},
      {u"Escape", {i2(12)}, str(u"12")},
      {u"Escape", {str(u"")}, str(u"")},
      fails(u"Escape", {kNull}, 94),
      {u"Unescape", {str(u"%41%62%u20ac%U0041")}, str(u"Ab\u20ac%U0041")},
      {u"Unescape", {str(u"%%41%")}, str(u"%A%")},
      {u"Unescape", {str(u"%4G%u12")}, str(u"%4G%u12")},
      {u"Unescape", {str(u"%u00411")}, str(u"A1")},
      fails(u"Unescape", {kNull}, 94),
  });
}

TEST(StringBuiltins, InStrBCountsBytes) {
  const Variant kNull = Variant::null();
  run_cases({
      {u"InStrB", {i2(3), str(u"abcb"), str(u"b")}, i4(3)},
      {u"InStrB", {i2(4), str(u"abcb"), str(u"b")}, i4(7)},
      {u"InStrB", {i2(1), str(u"ABC"), str(u"b"), i2(0)}, i4(0)},
      // Bytes 00 41 42 00: 41 42 straddles the two characters.
      {u"InStrB", {str(u"\u4100\u0042"), str(u"\u4241")}, i4(2)},
      {u"InStrB", {str(u"\u4100\u0042"), str(u"\u0042")}, i4(3)},
      {u"InStrB", {i2(7), str(u"abc"), str(u"")}, i4(0)},
      {u"InStrB", {str(u""), str(u"a")}, i4(0)},
      fails(u"InStrB", {i2(0), str(u"a"), str(u"a")}, 5),
      fails(u"InStrB", {i2(1), str(u"a"), str(u"a"), i2(2)}, 5),
  });
}

}  // namespace
}  // namespace tap::vbs::test
