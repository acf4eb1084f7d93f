#include "platform/os/code_page.h"

#include <gtest/gtest.h>

namespace tap::os {
namespace {

TEST(CodePage, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::u16string wide = ansi_to_wide(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(wide_to_ansi(wide), all);
}

struct Mapping {
  unsigned char byte;
  char16_t wide;
};

class CodePageMapping : public testing::TestWithParam<Mapping> {};

TEST_P(CodePageMapping, MapsBothWays) {
  const Mapping m = GetParam();
  std::string byte(1, static_cast<char>(m.byte));
  EXPECT_EQ(ansi_to_wide(byte), std::u16string(1, m.wide));
  EXPECT_EQ(wide_to_ansi(std::u16string(1, m.wide)), byte);
}

INSTANTIATE_TEST_SUITE_P(
    Windows1252, CodePageMapping,
    testing::Values(
        // The five bytes the code page leaves undefined keep their C1 value.
        Mapping{0x81, 0x0081}, Mapping{0x8D, 0x008D}, Mapping{0x8F, 0x008F},
        Mapping{0x90, 0x0090}, Mapping{0x9D, 0x009D},
        // Defined characters of the 0x80..0x9F block.
        Mapping{0x80, 0x20AC}, Mapping{0x8A, 0x0160}, Mapping{0x93, 0x201C},
        Mapping{0x99, 0x2122}, Mapping{0x9F, 0x0178},
        // Latin-1 and ASCII pass through.
        Mapping{0x00, 0x0000}, Mapping{0x41, 0x0041}, Mapping{0xA0, 0x00A0},
        Mapping{0xE9, 0x00E9}, Mapping{0xFF, 0x00FF}));

TEST(CodePage, CharactersWithoutAnEquivalentBecomeQuestionMarks) {
  EXPECT_EQ(wide_to_ansi(u"a\u4E2Db"), "a?b");
  EXPECT_EQ(wide_to_ansi(u"\u0100"), "?");
#ifdef _WIN32
  // The system converts each half of a surrogate pair on its own.
  EXPECT_EQ(wide_to_ansi(u"x\U0001F600y"), "x??y");
#else
  // A surrogate pair is one character, so one '?'.
  EXPECT_EQ(wide_to_ansi(u"x\U0001F600y"), "x?y");
#endif
  // A C1 control that Windows-1252 uses for a printable character has no byte.
  EXPECT_EQ(wide_to_ansi(u"\u0080"), "?");
}

TEST(CodePage, Utf8RoundTripsAndRepairsInvalidSequences) {
  const std::u16string text = u"A\u00E9\u20AC\U0001F600";
  EXPECT_EQ(utf8_to_wide(wide_to_utf8(text)), text);
  EXPECT_EQ(utf8_to_wide("\xC3"), u"\uFFFD");                 // truncated
  EXPECT_EQ(utf8_to_wide("\xC0\xAF"), u"\uFFFD\uFFFD");       // overlong
  EXPECT_EQ(utf8_to_wide("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // surrogate
  EXPECT_EQ(wide_to_utf8(u"\xD800"), "\xEF\xBF\xBD");         // lone surrogate
}

}  // namespace
}  // namespace tap::os
