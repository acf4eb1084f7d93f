// The hints a refused value carries: where a bin.hex value first goes
// wrong, counted as the author counts characters, and integer ranges.
#include <gtest/gtest.h>

#include "platform/xml/ValueHint.h"

namespace tap::xml {
namespace {

struct HintCase {
  DataType type;
  const char* value;
  const char* hint;  // "": no hint
};

class ValueHintTest : public testing::TestWithParam<HintCase> {};

TEST_P(ValueHintTest, NamesWhatTheValueLacks) {
  const HintCase& c = GetParam();
  EXPECT_EQ(value_hint(c.type, c.value), c.hint) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValueHintTest,
    testing::Values(
        // Positions count the value as written: leading space and a
        // two-byte character count one each.
        HintCase{DataType::BinHex, "  41z", "bin.hex takes only hexadecimal digits; the first other character is 'z', at position 5"},
        HintCase{DataType::BinHex, "\xC3\xA9" "41", "bin.hex takes only hexadecimal digits; the first other character is the byte 0xC3, at position 1"},
        HintCase{DataType::BinHex, "41\xC3\xA9", "bin.hex takes only hexadecimal digits; the first other character is the byte 0xC3, at position 3"},
        HintCase{DataType::BinHex, "41\t42", "bin.hex takes only hexadecimal digits; the first other character is white space, at position 3"},
        HintCase{DataType::BinHex, " 414 ", "bin.hex takes two hexadecimal digits per byte; this value has an odd number (3)"},
        HintCase{DataType::BinHex, "4142", ""},
        HintCase{DataType::Ui4, "0xFFFFFFFF", "write a decimal integer from 0 to 4294967295 (0xFFFFFFFF is 4294967295)"},
        HintCase{DataType::I4, "0x", "write a decimal integer from -2147483648 to 2147483647"},
        HintCase{DataType::Int, "1.5", "write a decimal integer from -2147483648 to 2147483647"},
        HintCase{DataType::String, "x", ""}));

}  // namespace
}  // namespace tap::xml
