#include "platform/regex/match_ansi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tap::regex {
namespace {

using namespace std::string_literals;

struct AnsiCase {
  std::string subject;
  std::string pattern;
  bool ignore_case;
  bool matched;
  std::vector<std::string> groups;
};

class MatchAnsi : public testing::TestWithParam<AnsiCase> {};

TEST_P(MatchAnsi, AnswersAndGroups) {
  const AnsiCase& c = GetParam();
  const AnsiMatchResult r = match_ansi(c.subject, c.pattern, c.ignore_case);
  EXPECT_FALSE(r.failed()) << r.description;
  EXPECT_EQ(r.matched(), c.matched);
  if (c.matched) {
    EXPECT_EQ(r.groups, c.groups);
  }
}

INSTANTIATE_TEST_SUITE_P(Worker, MatchAnsi, testing::Values(
    AnsiCase{":MEAS:VOLT:DC? 5\n", "MEAS(ure)?:VOLT(age)?:DC\\? *(\\d+)?", false, true, {"", "", "5"}},
    AnsiCase{"xx:meas:volt", "MEAS:VOLT", true, true, {}},
    AnsiCase{"xx:meas:volt", "MEAS:VOLT", false, false, {}},
    // Only the bytes before the first zero take part, in subject and pattern.
    AnsiCase{"AB\0CD"s, "CD", false, false, {}},
    AnsiCase{"AB\0CD"s, "(B)$", false, true, {"B"}},
    AnsiCase{"AXC", "A\0B"s, false, true, {}},
    // Groups come back through Windows-1252, every byte value intact.
    AnsiCase{"\x80\x81\xFF=\x9F", "(.+)=(.)", false, true, {"\x80\x81\xFF", "\x9F"}},
    AnsiCase{"\xE9t\xE9", "(\xC9)T\xC9", true, true, {"\xE9"}},
    AnsiCase{"val 12", "val (\\d+)|(x)", false, true, {"12", ""}}));

TEST(MatchAnsi, InvalidPatternIsAFailureWithADescription) {
  const AnsiMatchResult r = match_ansi("abc", "(abc", false);
  EXPECT_TRUE(r.failed());
  EXPECT_FALSE(r.matched());
  EXPECT_NE(r.description.find("Expected ')'"), std::string::npos) << r.description;
}

TEST(MatchAnsi, PathologicalSearchIsAFailureNotANoMatch) {
  const AnsiMatchResult r = match_ansi(std::string(10000, 'a') + "b", "(a+)+$", false);
  EXPECT_TRUE(r.failed());
  EXPECT_FALSE(r.description.empty());
}

}  // namespace
}  // namespace tap::regex
