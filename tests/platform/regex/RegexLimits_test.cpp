#include "platform/regex/RegexLimits.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/regex/Regex.h"

namespace tap::regex {
namespace {

bool is_limit(RegexStatus s) {
  return s == RegexStatus::match_limit || s == RegexStatus::depth_limit || s == RegexStatus::heap_limit ||
         s == RegexStatus::time_limit;
}

struct PathologicalCase {
  const char16_t* pattern;
  std::u16string subject;
};

class RegexLimitsTable : public testing::TestWithParam<PathologicalCase> {};

// Each would run for minutes or exhaust memory unbounded; a limit stops it
// with a failure rather than a wrong "no match".
TEST_P(RegexLimitsTable, StopsWithALimitFailure) {
  const auto r = Regex::compile(GetParam().pattern, {});
  ASSERT_TRUE(r);
  RegexMatch m;
  const RegexStatus s = r.regex->search(GetParam().subject, 0, m);
  EXPECT_TRUE(is_limit(s)) << regex_status_text(s);
}

const std::u16string kTenMb(10'000'000, u'a');

INSTANTIATE_TEST_SUITE_P(Pathological, RegexLimitsTable, testing::Values(
    PathologicalCase{u"(a+)+$", std::u16string(10000, u'a') + u"b"},
    PathologicalCase{u"(\\w+\\s?)*$", std::u16string(10000, u'w') + u"!"},
    PathologicalCase{u"(a?){28}a{28}", std::u16string(28, u'a')},
    PathologicalCase{u"(.*a){12}", std::u16string(10000, u'b') + u"a"},
    PathologicalCase{u"[a-z]*\\d", kTenMb},
    PathologicalCase{u"a*a*a*c", kTenMb},
    PathologicalCase{u"(a|b)*c", kTenMb},
    PathologicalCase{u"(?=a*c)", kTenMb}));

// The match and depth limits count per start position, so they never cut
// an easy search short however long the subject. The time budget is
// widened so that a loaded machine cannot fail the test on time alone.
TEST(RegexLimits, AnEasySearchOfALongSubjectIsNotCutShort) {
  const auto r = Regex::compile(u"b", {});
  RegexMatch m;
  RegexLimits limits;
  limits.time_limit = std::chrono::milliseconds(10'000);
  EXPECT_EQ(r.regex->search(kTenMb + u"b", 0, m, limits), RegexStatus::ok);
  EXPECT_EQ(m.index, kTenMb.size());
}

TEST(RegexLimits, ATightMatchLimitIsReportedAsSuch) {
  RegexLimits tight;
  tight.match_limit = 100;
  tight.time_limit = std::chrono::milliseconds(10'000);
  const auto r = Regex::compile(u"(a|aa)*\\d", {});
  RegexMatch m;
  EXPECT_EQ(r.regex->search(std::u16string(30, u'a'), 0, m, tight), RegexStatus::match_limit);
}

}  // namespace
}  // namespace tap::regex
