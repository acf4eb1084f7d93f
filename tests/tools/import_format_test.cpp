// Getters of imported definitions format stored values as Python's format()
// does, played through the real driver.
#include <gtest/gtest.h>

#include "import_support.h"

namespace srplay_test {
namespace {

struct FormatCase {
  const char* value;
  const char* type;
  const char* format;
  const char* expected;  // format(type(value)) in Python
};

// Rounding of the exact binary value (2.675, 9.995 lie below the half),
// ties to even (0.125, 2.5), the shortest text of {}, exponents of three
// digits, signs, widths, grouping and bases.
constexpr FormatCase kCases[] = {
    {"1.0", "float", "{:e}", "1.000000e+00"},
    {"2.675", "float", "{:.2f}", "2.67"},
    {"0.125", "float", "{:.2f}", "0.12"},
    {"1.5", "float", "{:+.2f}", "+1.50"},
    {"-0.001234", "float", "{:.3e}", "-1.234e-03"},
    {"100.0", "float", "{}", "100.0"},
    {"1e-05", "float", "{}", "1e-05"},
    {"0.1", "float", "{}", "0.1"},
    {"12345.678", "float", "{:,.1f}", "12,345.7"},
    {"0.5", "float", "{:.0f}", "0"},
    {"2.5", "float", "{:.0f}", "2"},
    {"123.456", "float", "{:g}", "123.456"},
    {"1234567", "float", "{:g}", "1.23457e+06"},
    {"0.1", "float", "{:.20f}", "0.10000000000000000555"},
    {"1.7976931348623157e308", "float", "{:.3e}", "1.798e+308"},
    {"0.25", "float", "{:.1%}", "25.0%"},
    {"6.02e23", "float", "{:E}", "6.020000E+23"},
    {"1", "float", "{:+.8E}", "+1.00000000E+00"},
    {"9.995", "float", "{:.2f}", "9.99"},
    {"12", "float", "{:.2}", "1.2e+01"},
    {"3.0", "float", "V={:>8.3f} V", "V=   3.000 V"},
    {"42", "int", "{:d}", "42"},
    {"42", "int", "{:05d}", "00042"},
    {"255", "int", "{:#x}", "0xff"},
    {"255", "int", "{:X}", "FF"},
    {"-42", "int", "{:+d}", "-42"},
    {"7", "int", "{:.3f}", "7.000"},
    {"1234567", "int", "{:,}", "1,234,567"},
    {"5", "int", "{:b}", "101"},
    {"-3", "int", "{}", "-3"},
    {"P6V", "str", "{:s}", "P6V"},
    {"P6V", "str", "{:>5}", "  P6V"},
    {"abc", "str", "{:.2}", "ab"},
    {"ab", "str", "[{:^6}]", "[  ab  ]"},
};

std::string quoted(const std::string& text) { return "'" + text + "'"; }

TEST(ImportFormat, GettersFormatAsPython) {
  std::string yaml =
      "spec: \"1.1\"\ndevices:\n  d:\n    eom:\n      GPIB INSTR:\n        q: \"\\n\"\n"
      "        r: \"\\n\"\n    properties:\n";
  std::vector<std::string> commands;
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    const FormatCase& c = kCases[i];
    const std::string n = std::to_string(i);
    yaml += "      p" + n + ":\n        default: " + quoted(c.value) + "\n        getter:\n          q: \"P" + n +
            "?\"\n          r: " + quoted(c.format) + "\n        specs:\n          type: " + c.type + "\n";
    commands.push_back("query P" + n + "?\\n");
  }
  yaml += "resources:\n  GPIB0::3::INSTR:\n    device: d\n";
  ScratchDir dir;
  Output imported = import_yaml(dir, "formats", yaml);
  ASSERT_EQ(imported.exit_code, 0) << imported.err;
  EXPECT_EQ(imported.err, "");
  const auto got = answers(play(dir, dir.file("formats.xml"), "", commands));
  ASSERT_EQ(got.size(), std::size(kCases));
  for (std::size_t i = 0; i < std::size(kCases); ++i)
    EXPECT_EQ(got[i], std::string(kCases[i].expected) + "\n")
        << kCases[i].type << " " << kCases[i].value << " with " << kCases[i].format;
}

struct SetterCase {
  const char* format;  // the setter's field
  const char* type;    // specs type; "" for none
  const char* written;
  const char* stored;  // what "{}" then gives, or ERROR when refused
};

// Setter fields read back as the simulator reads them: the field's pattern,
// its conversion, then the specs type's (int of a float truncates).
constexpr SetterCase kSetterCases[] = {
    {"{:d}", "int", "42", "42"},       {"{:d}", "int", "-7", "-7"},
    {"{:d}", "int", "+7", "ERROR"},    {"{:+d}", "int", "+7", "7"},
    {"{:d}", "int", "2.5", "ERROR"},   {"{:x}", "int", "ff", "255"},
    {"{:X}", "int", "FF", "255"},      {"{:#x}", "int", "0x1f", "31"},
    {"{:b}", "int", "101", "5"},       {"{:.2f}", "float", "2.5", "2.5"},
    {"{:.2f}", "int", "2.75", "2"},    {"{:e}", "float", "1.5e3", "1500.0"},
    {"{:%}", "float", "25%", "0.25"},  {"{}", "int", "12", "12"},
    {"{}", "int", "1.5", "ERROR"},     {"{}", "float", "1e2", "100.0"},
    {"{:s}", "str", "abc", "abc"},     {"{:d}", "float", "3", "3.0"},
    {"{:d}", "", "42", "42"},          {"{:f}", "", "2", "2.0"},
    {"{}", "", "2", "2"},
};

TEST(ImportFormat, SettersReadValuesAsTheSimulator) {
  std::string yaml = "spec: \"1.1\"\ndevices:\n  d:\n    error: ERROR\n    properties:\n";
  std::vector<std::string> commands;
  for (std::size_t i = 0; i < std::size(kSetterCases); ++i) {
    const SetterCase& c = kSetterCases[i];
    const std::string n = std::to_string(i);
    const std::string type = c.type;
    yaml += "      p" + n + ":\n        default: " + (type == "str" ? "x" : "0") + "\n        getter:\n          q: \"G" +
            n + "?\"\n          r: '{}'\n        setter:\n          q: 'S" + n + " " + c.format + "'\n";
    if (!type.empty()) yaml += "        specs:\n          type: " + type + "\n";
    commands.push_back("write S" + n + " " + c.written + "\\n");
    commands.push_back("query G" + n + "?\\n");
  }
  yaml += "resources:\n  GPIB0::3::INSTR:\n    device: d\n";
  ScratchDir dir;
  Output imported = import_yaml(dir, "setters", yaml);
  ASSERT_EQ(imported.exit_code, 0) << imported.err;
  // A refused write leaves ERROR to read and the default in place; the
  // query's write then replaces that answer, so refusal shows as the default.
  std::vector<std::string> refused_commands;
  for (std::size_t i = 0; i < std::size(kSetterCases); ++i)
    refused_commands.push_back("query S" + std::to_string(i) + " " + kSetterCases[i].written + "\\n");
  const auto stored = answers(play(dir, dir.file("setters.xml"), "", commands));
  const auto direct = answers(play(dir, dir.file("setters.xml"), "", refused_commands));
  ASSERT_EQ(stored.size(), std::size(kSetterCases));
  ASSERT_EQ(direct.size(), std::size(kSetterCases));
  for (std::size_t i = 0; i < std::size(kSetterCases); ++i) {
    const SetterCase& c = kSetterCases[i];
    const std::string expected = c.stored;
    if (expected == "ERROR") {
      EXPECT_EQ(direct[i], "ERROR\n") << c.format << " " << c.type << " of " << c.written;
    } else {
      EXPECT_EQ(direct[i], "<status 15>") << c.format << " " << c.type << " of " << c.written;
      EXPECT_EQ(stored[i], expected + "\n") << c.format << " " << c.type << " of " << c.written;
    }
  }
}

// What Python refuses to format, the getter does not answer.
TEST(ImportFormat, ValueOfTheWrongTypeGetsNoAnswer) {
  ScratchDir dir;
  Output imported = import_yaml(dir, "wrong",
                                "spec: \"1.0\"\ndevices:\n  d:\n    properties:\n      f:\n        default: 1.5\n"
                                "        getter:\n          q: \"F?\"\n          r: \"{:d}\"\n"
                                "        specs:\n          type: float\n"
                                "      s:\n        default: abc\n        getter:\n          q: \"S?\"\n"
                                "          r: \"{:.2f}\"\nresources:\n  GPIB::4::INSTR:\n    device: d\n");
  ASSERT_EQ(imported.exit_code, 0) << imported.err;
  const auto got = answers(play(dir, dir.file("wrong.xml"), "", {"query F?\\n", "query S?\\n"}));
  EXPECT_EQ(got, (std::vector<std::string>{"<status 15>", "<status 15>"}));
}

}  // namespace
}  // namespace srplay_test
