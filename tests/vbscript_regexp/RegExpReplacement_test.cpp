// The forms the golden script vbscript/regexp/replace.vbs echoes ($1, $&,
// $`, $', $$, $10 with one group) are not repeated here.
#include "vbscript/objects/RegExpReplacement.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/os/code_page.h"
#include "platform/regex/Regex.h"

namespace tap::vbs {
namespace {

struct ReplacementCase {
  const char16_t* pattern;
  const char16_t* subject;
  const char16_t* replacement;
  const char* expected;  // the expansion for the first match
};

class ExpandReplacement : public testing::TestWithParam<ReplacementCase> {};

TEST_P(ExpandReplacement, ExpandsDollarForms) {
  const ReplacementCase& c = GetParam();
  const auto compiled = regex::Regex::compile(c.pattern, {});
  ASSERT_TRUE(compiled) << compiled.description;
  regex::RegexMatch m;
  ASSERT_EQ(compiled.regex->search(c.subject, 0, m), regex::RegexStatus::ok);
  std::u16string out;
  expand_replacement(c.replacement, c.subject, m, out);
  EXPECT_EQ(os::wide_to_utf8(out), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Dollars, ExpandReplacement, testing::Values(
    ReplacementCase{u"b(o+)", u"a boo c", u"$0 $2 $x $", "$0 $2 $x $"},
    ReplacementCase{u"b(o+)", u"a boo c", u"$01", "oo"},
    ReplacementCase{u"(a)|(b)", u"a", u"[$2]", "[]"},
    ReplacementCase{u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)", u"abcdefghijk", u"$11$10$1", "kja"},
    ReplacementCase{u"x", u"x", u"", ""}));

}  // namespace
}  // namespace tap::vbs
