#include "platform/com/case_fold.h"

#include <gtest/gtest.h>

namespace tap::com {
namespace {

TEST(CaseFold, PairsUpperAndLowerLetters) {
  const std::pair<char16_t, char16_t> pairs[] = {
      {u'A', u'a'},     {u'Z', u'z'},     {0xC0, 0xE0} /* À à */, {0xDE, 0xFE} /* Þ þ */, {0x100, 0x101},
      {0x139, 0x13A},   {0x17D, 0x17E},   {0x178, 0xFF} /* Ÿ ÿ */, {0x391, 0x3B1},           {0x3A9, 0x3C9},
      {0x410, 0x430},   {0x42F, 0x44F},   {0x401, 0x451},
  };
  for (auto [upper, lower] : pairs) {
    EXPECT_EQ(lower_char(upper), lower) << std::hex << int(upper);
    EXPECT_EQ(upper_char(lower), upper) << std::hex << int(lower);
  }
  for (char16_t same : {u'1', u'@', u'[', char16_t(0xD7), char16_t(0xF7), char16_t(0xDF), char16_t(0x3A2), char16_t(0x4E00)}) {
    EXPECT_EQ(lower_char(same), same) << std::hex << int(same);
    EXPECT_EQ(upper_char(same), same) << std::hex << int(same);
  }
}

TEST(CaseFold, ComparesByCodeUnitOrIgnoringCase) {
  struct Case {
    const char16_t* a;
    const char16_t* b;
    int binary, text;
  };
  const Case cases[] = {
      {u"abc", u"abc", 0, 0},  {u"abc", u"ABC", 1, 0},   {u"ABC", u"abd", -1, -1},
      {u"ab", u"abc", -1, -1}, {u"", u"", 0, 0},         {u"b", u"A", 1, 1},
      {u"[", u"A", 1, -1},  // "[" sits between the cases: text compare folds to lower case
      {u"\u00c9t\u00e9", u"\u00e9T\u00c9", -1, 0},
  };
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (const Case& c : cases) {
    EXPECT_EQ(sign(compare_text(c.a, c.b, false)), c.binary);
    EXPECT_EQ(sign(compare_text(c.a, c.b, true)), c.text);
    EXPECT_EQ(sign(compare_text(c.b, c.a, true)), -c.text);
  }
}

}  // namespace
}  // namespace tap::com
