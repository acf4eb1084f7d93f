// Lexical rules of each XDR data type, and the decoded typed values.
#include "platform/xml/XdrDataType.h"

#include <gtest/gtest.h>

namespace tap::xml {
namespace {

struct TypeCase {
  const char* type;
  std::vector<const char*> valid;
  std::vector<const char*> invalid;
};

const TypeCase kTypes[] = {
    {"string", {"", " x ", "anything <at> all"}, {}},
    {"i1", {"-128", "127", "+0"}, {"128", "-129", "", "1.5"}},
    {"i2", {"-32768", "32767"}, {"32768", "-32769"}},
    {"i4", {"-2147483648", " 42 ", "+5", "007", "-0"}, {"2147483648", "-2147483649", "1.0", "1e3", "abc", "", " ", "+", "4 2"}},
    {"int", {"2147483647", "-12"}, {"2147483648", "1.0"}},
    {"i8", {"9223372036854775807", "-9223372036854775808"}, {"9223372036854775808", "-9223372036854775809"}},
    {"ui1", {"0", "255", "+7"}, {"256", "-1"}},
    {"ui2", {"65535"}, {"65536"}},
    {"ui4", {"4294967295", "0", "-0"}, {"4294967296", "-1", "99999999999999999999999"}},
    {"ui8", {"18446744073709551615"}, {"18446744073709551616"}},
    {"boolean", {"0", "1", " 1 "}, {"2", "true", "false", "", "01"}},
    {"bin.hex", {"", "deadbeef", "DEADBEEF", "0a0B", " 00 "}, {"abc", "zz", "de ad", "0x00"}},
    {"bin.base64", {"", "YWJj", "YW Jj", "YQ==", "YWI="}, {"YWJ", "Y===", "YQ==YQ==", "*"}},
    {"number", {"1", "-1.5", ".5", "1e10", "1.5E-3", "+2"}, {"", "1e", "e1", "1.5.5", "INF", "1e999"}},
    {"r8", {"1.5", "INF", "-INF", "NaN", "1e308"}, {"1e309", "abc", ""}},
    {"float", {"3.25", "NaN"}, {"1,5"}},
    {"r4", {"3.4e38", "-1"}, {"3.5e38"}},
    {"fixed.14.4", {"12345678901234.1234", "-1.5", "7"}, {"123456789012345", "1.12345", "1e3"}},
    {"char", {"a", "\xC3\xA9", " "}, {"", "ab"}},
    {"date", {"1994-11-05", "2000-02-29", "-0044-03-15"}, {"1900-02-29", "1994-13-01", "1994-11-5", "94-11-05", ""}},
    {"dateTime", {"1988-04-07T18:39:09", "1988-04-07T18:39:09.123456789", "1988-04-07"}, {"1988-04-07T18:39", "1988-04-07T18:39:09Z", "1988-04-07T25:00:00"}},
    {"dateTime.tz", {"1988-04-07T18:39:09-08:00", "1988-04-07T18:39:09Z"}, {"1988-04-07T18:39:09+8"}},
    {"time", {"08:15:27", "23:59:59.5"}, {"8:15:27", "08:60:00", "08:15:27Z"}},
    {"time.tz", {"08:15:27-05:00", "08:15:27Z"}, {"08:15:27 Z"}},
    {"uuid", {"333C7BC4-460F-11D0-BC04-0080C7055A83", "333c7bc4-460f-11d0-bc04-0080c7055a83"}, {"333C7BC4460F11D0BC040080C7055A83", "{333C7BC4-460F-11D0-BC04-0080C7055A83}", "333C7BC4-460F-11D0-BC04-0080C7055A8"}},
    {"id", {"a1", "_x", "p.q-r"}, {"1a", "a b", "", "a:b"}},
    {"idref", {"ref"}, {"-ref"}},
    {"idrefs", {"a b  c", " a "}, {"", "a 1b"}},
    {"nmtoken", {"1a", "a:b.c-d"}, {"a b", ""}},
    {"nmtokens", {"1a 2b", "x"}, {"", "a, b"}},
    {"enumeration", {"tok"}, {"two tokens", ""}},
    {"entity", {"e"}, {"1e"}},
    {"entities", {"e f"}, {"e 1f"}},
    {"notation", {"n:x"}, {"1n"}},
    {"uri", {"http://x/y", ""}, {}},
};

TEST(XdrDataType, LexicalRulesPerType) {
  for (const auto& c : kTypes) {
    auto type = datatype_from_name(c.type);
    ASSERT_TRUE(type) << c.type;
    EXPECT_EQ(datatype_name(*type), c.type);
    for (const char* v : c.valid) EXPECT_TRUE(is_valid_value(*type, v)) << c.type << " '" << v << "'";
    for (const char* v : c.invalid) EXPECT_FALSE(is_valid_value(*type, v)) << c.type << " '" << v << "'";
  }
}

TEST(XdrDataType, NamesCompareWithoutCase) {
  EXPECT_EQ(datatype_from_name("NUMbEr"), DataType::Number);
  EXPECT_EQ(datatype_from_name("BIN.HEX"), DataType::BinHex);
  EXPECT_EQ(datatype_from_name("datetime.TZ"), DataType::DateTimeTz);
  EXPECT_FALSE(datatype_from_name("binhex"));
  EXPECT_FALSE(datatype_from_name(""));
}

TEST(XdrDataType, DecodesTypedValues) {
  EXPECT_EQ(decode_bin_hex("deadbeef"), std::string("\xDE\xAD\xBE\xEF"));
  EXPECT_EQ(decode_bin_hex(" 00fF\n"), std::string("\x00\xFF", 2));
  EXPECT_EQ(decode_bin_hex(""), std::string());
  EXPECT_FALSE(decode_bin_hex("abc"));
  EXPECT_FALSE(decode_bin_hex("gg"));
  EXPECT_EQ(decode_base64("YWJjZA=="), std::string("abcd"));
  EXPECT_EQ(decode_base64("YW\nJj"), std::string("abc"));
  EXPECT_EQ(decode_boolean(" 1"), true);
  EXPECT_EQ(decode_boolean("0"), false);
  EXPECT_FALSE(decode_boolean("true"));
}

}  // namespace
}  // namespace tap::xml
