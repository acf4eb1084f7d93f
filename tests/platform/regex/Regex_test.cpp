#include "platform/regex/Regex.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/os/code_page.h"

namespace tap::regex {
namespace {

// A group that takes no part in the match.
constexpr const char16_t* kUnset = nullptr;

struct MatchCase {
  const char16_t* pattern;
  const char* flags;  // any of "i", "m"
  std::u16string subject;
  std::optional<std::size_t> index;  // nullopt: no match
  std::u16string value;
  std::vector<const char16_t*> groups;
};

RegexOptions options_from(const char* flags) {
  RegexOptions o;
  for (const char* f = flags; *f; ++f) {
    if (*f == 'i') o.ignore_case = true;
    if (*f == 'g') o.global = true;
    if (*f == 'm') o.multiline = true;
  }
  return o;
}

std::string narrow(std::u16string_view s) { return os::wide_to_utf8(s); }

void PrintTo(const MatchCase& c, std::ostream* os) {
  *os << "/" << narrow(c.pattern) << "/" << c.flags << " on \"" << narrow(c.subject) << "\"";
}

class RegexMatchTable : public testing::TestWithParam<MatchCase> {};

TEST_P(RegexMatchTable, FirstMatch) {
  const MatchCase& c = GetParam();
  const CompileResult compiled = Regex::compile(c.pattern, options_from(c.flags));
  ASSERT_TRUE(compiled) << compiled.description;
  RegexMatch m;
  const RegexStatus status = compiled.regex->search(c.subject, 0, m);
  if (!c.index) {
    EXPECT_EQ(status, RegexStatus::no_match) << "matched \"" << narrow(m.value(c.subject)) << "\" at " << m.index;
    return;
  }
  ASSERT_EQ(status, RegexStatus::ok);
  EXPECT_EQ(m.index, *c.index);
  EXPECT_EQ(narrow(m.value(c.subject)), narrow(c.value));
  ASSERT_EQ(m.groups.size(), c.groups.size());
  for (std::size_t g = 0; g < c.groups.size(); ++g) {
    SCOPED_TRACE("group " + std::to_string(g + 1));
    EXPECT_EQ(m.groups[g].matched, c.groups[g] != kUnset);
    EXPECT_EQ(narrow(m.groups[g].in(c.subject)), c.groups[g] ? narrow(c.groups[g]) : "");
  }
}

const std::size_t none = std::string::npos;
std::optional<std::size_t> at(std::size_t i) { return i == none ? std::nullopt : std::optional<std::size_t>(i); }

// Examples of the VBScript / JScript regular-expression reference, then
// the places where VBScript differs from Perl and PCRE2 defaults.
INSTANTIATE_TEST_SUITE_P(Documented, RegexMatchTable, testing::Values(
    MatchCase{u"zo*", "", u"z", at(0), u"z", {}},
    MatchCase{u"zo*", "", u"zoo", at(0), u"zoo", {}},
    MatchCase{u"zo+", "", u"z", at(none), u"", {}},
    MatchCase{u"a?ve?", "", u"never", at(2), u"ve", {}},
    MatchCase{u"do(es)?", "", u"do", at(0), u"do", {kUnset}},
    MatchCase{u"do(es)?", "", u"does", at(0), u"does", {u"es"}},
    MatchCase{u"o{2}", "", u"Bob", at(none), u"", {}},
    MatchCase{u"o{2}", "", u"foooood", at(1), u"oo", {}},
    MatchCase{u"o{2,}", "", u"foooood", at(1), u"ooooo", {}},
    MatchCase{u"o{1,3}", "", u"fooooood", at(1), u"ooo", {}},
    MatchCase{u"o+?", "", u"oooo", at(0), u"o", {}},
    MatchCase{u"z|food", "", u"zoo", at(0), u"z", {}},
    MatchCase{u"(z|f)ood", "", u"food", at(0), u"food", {u"f"}},
    MatchCase{u"[abc]", "", u"plain", at(2), u"a", {}},
    MatchCase{u"[^abc]", "", u"plain", at(0), u"p", {}},
    MatchCase{u"[a-z]", "", u"ABC xyz", at(4), u"x", {}},
    MatchCase{u"[^m-z]", "", u"xyz abc", at(3), u" ", {}},
    MatchCase{u"er\\b", "", u"never verb", at(3), u"er", {}},
    MatchCase{u"er\\B", "", u"never verb", at(7), u"er", {}},
    MatchCase{u"ea*r\\B", "", u"never early", at(6), u"ear", {}},
    MatchCase{u"\\d{2}-\\d{5}", "", u"id 12-34567", at(3), u"12-34567", {}},
    MatchCase{u"<(.*)>.*<\\/\\1>", "", u"<b>bold</b>", at(0), u"<b>bold</b>", {u"b"}},
    MatchCase{u"industr(?:y|ies)", "", u"industries", at(0), u"industries", {}},
    MatchCase{u"Windows (?=95|98|NT|2000)", "", u"Windows 2000", at(0), u"Windows ", {}},
    MatchCase{u"Windows (?=95|98|NT|2000)", "", u"Windows 3.1", at(none), u"", {}},
    MatchCase{u"Windows (?!95|98|NT|2000)", "", u"Windows 3.1", at(0), u"Windows ", {}},
    MatchCase{u"\\cM", "", u"a\rb", at(1), u"\r", {}},
    MatchCase{u"\\x41", "", u"zA", at(1), u"A", {}},
    MatchCase{u"\\x041", "", u"a\x04" u"1", at(1), u"\x04" u"1", {}},
    MatchCase{u"\\u00A9", "", u"(c) \u00A9", at(4), u"\u00A9", {}},
    MatchCase{u"\\11", "", u"a\tb", at(1), u"\t", {}},
    MatchCase{u"\\011", "", u"a\tb", at(1), u"\t", {}},
    MatchCase{u"\\0011", "", u"\x01" u"1", at(0), u"\x01" u"1", {}},
    MatchCase{u"(.)\\1", "", u"abccd", at(2), u"cc", {u"c"}},
    MatchCase{u"\\s", "", u"a\vb", at(1), u"\v", {}},
    MatchCase{u"\\S+", "", u" \t ab c", at(3), u"ab", {}},
    MatchCase{u"\\W", "", u"ab_1 ", at(4), u" ", {}},
    MatchCase{u"\\D+", "", u"12ab3", at(2), u"ab", {}},
    MatchCase{u"\\f\\t", "", u"x\f\t", at(1), u"\f\t", {}},
    MatchCase{u"a.c", "", u"a#c", at(0), u"a#c", {}},
    MatchCase{u"filename\\.ext", "", u"filenameXext filename.ext", at(13), u"filename.ext", {}},
    MatchCase{u"Chapter [1-5]", "", u"Chapter 7, Chapter 4", at(11), u"Chapter 4", {}},
    MatchCase{u"[-a-z]+", "", u"A-b-c", at(1), u"-b-c", {}},
    MatchCase{u"[!--]", "", u"a,b", at(1), u",", {}},
    MatchCase{u"[.\\n]", "", u"ab\n", at(2), u"\n", {}},
    MatchCase{u"\\(\\\\\\)", "", u"x(\\)", at(1), u"(\\)", {}}));

INSTANTIATE_TEST_SUITE_P(DifferFromPcre, RegexMatchTable, testing::Values(
    // $ is the very end, not also before a final newline.
    MatchCase{u"abc$", "", u"abc\n", at(none), u"", {}},
    MatchCase{u"abc$", "", u"xabc", at(1), u"abc", {}},
    MatchCase{u"^abc", "", u"x\nabc", at(none), u"", {}},
    // Multiline: after / before \n or \r, each on its own (also inside \r\n).
    MatchCase{u"^abc", "m", u"x\nabc", at(2), u"abc", {}},
    MatchCase{u"^abc$", "m", u"x\rabc\ry", at(2), u"abc", {}},
    MatchCase{u"a$", "m", u"a\r\nb", at(0), u"a", {}},
    MatchCase{u"^\\n", "m", u"\r\n", at(1), u"\n", {}},
    MatchCase{u"$\\n", "m", u"ab\n", at(2), u"\n", {}},
    // \Z, \A, \z, \Q, \p are identity escapes, not PCRE2 assertions.
    MatchCase{u"a\\Z", "", u"a", at(none), u"", {}},
    MatchCase{u"a\\Z", "", u"aZ", at(0), u"aZ", {}},
    MatchCase{u"\\Ab", "", u"Ab", at(0), u"Ab", {}},
    MatchCase{u"a\\z", "", u"az", at(0), u"az", {}},
    MatchCase{u"\\p{L}", "", u"xp{L}", at(1), u"p{L}", {}},
    MatchCase{u"\\Q.\\E", "", u"QxE", at(0), u"QxE", {}},
    // \v is the vertical tab, not PCRE2's vertical-whitespace class.
    MatchCase{u"\\v", "", u"a\nb\vc", at(3), u"\v", {}},
    // . excludes only \n.
    MatchCase{u".+", "", u"ab\ncd", at(0), u"ab", {}},
    // \s is exactly [ \f\n\r\t\v]; \w and \d are ASCII.
    MatchCase{u"\\s", "", u"a\u00A0b", at(none), u"", {}},
    MatchCase{u"\\w+", "", u"\u00E9_a1b-", at(1), u"_a1b", {}},
    MatchCase{u"\\d", "", u"\u0663 7", at(2), u"7", {}},
    MatchCase{u"\\bna", "", u"\u00EFna", at(1), u"na", {}},
    // [] matches nothing, [^] anything; ] right after [ ends the class.
    MatchCase{u"a[]b", "", u"ab", at(none), u"", {}},
    MatchCase{u"[]a]", "", u"a]", at(none), u"", {}},
    MatchCase{u"[^]", "", u"\n", at(0), u"\n", {}},
    MatchCase{u"x[^]y", "", u"x\ny", at(0), u"x\ny", {}},
    // A back-reference to a group that took no part matches empty.
    MatchCase{u"(a)|\\1b", "", u"b", at(0), u"b", {kUnset}},
    // \n is a back-reference only when that many groups precede it.
    MatchCase{u"\\1(a)", "", u"aa\x01" u"a", at(2), u"\x01" u"a", {u"a"}},
    MatchCase{u"(a)\\10", "", u"aa0", at(0), u"aa0", {u"a"}},
    MatchCase{u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\10", "", u"abcdefghijj", at(0), u"abcdefghijj",
              {u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"j"}},
    MatchCase{u"\\400", "", u"x 0", at(1), u" 0", {}},
    MatchCase{u"\\8", "", u"78", at(1), u"8", {}},
    MatchCase{u"\\0", "", std::u16string(u"a\0b", 3), at(1), std::u16string(1, u'\0'), {}},
    // \c, \x, \u without what they need are literal letters.
    MatchCase{u"\\c1", "", u"c1", at(0), u"c1", {}},
    MatchCase{u"\\x4g", "", u"x4g", at(0), u"x4g", {}},
    MatchCase{u"\\u12", "", u"u12", at(0), u"u12", {}},
    // { } ] are literals where they cannot be syntax.
    MatchCase{u"a{,5}", "", u"a{,5}", at(0), u"a{,5}", {}},
    MatchCase{u"x{2", "", u"x{2", at(0), u"x{2", {}},
    MatchCase{u"a]}", "", u"a]}", at(0), u"a]}", {}},
    // Bracket details: \b is a backspace, a class escape makes '-' literal.
    MatchCase{u"[\\b]", "", u"a\bb", at(1), u"\b", {}},
    MatchCase{u"[\\d-z]+", "", u"a-1z", at(1), u"-1z", {}},
    MatchCase{u"[\\u0041-\\u0043]+", "", u"ABCD", at(0), u"ABC", {}},
    MatchCase{u"[\\s\\S]", "", u"\n", at(0), u"\n", {}}));

INSTANTIATE_TEST_SUITE_P(General, RegexMatchTable, testing::Values(
    MatchCase{u"^:?MEAS(ure)?:VOLT(age)?:DC\\? *(\\d+)?", "", u":MEASure:VOLTage:DC? 10", at(0),
              u":MEASure:VOLTage:DC? 10", {u"ure", u"age", u"10"}},
    MatchCase{u"^:?MEAS(ure)?:VOLT(age)?:DC\\? *(\\d+)?", "", u"MEAS:VOLT:DC?\n", at(0), u"MEAS:VOLT:DC?",
              {kUnset, kUnset, kUnset}},
    MatchCase{u"^:?MEAS(ure)?:VOLT(age)?:DC\\? *(\\d+)?", "", u"*IDN?", at(none), u"", {}},
    MatchCase{u"meas:volt", "i", u"x:MEAS:VOLT?", at(2), u"MEAS:VOLT", {}},
    MatchCase{u"meas:volt", "", u"x:MEAS:VOLT?", at(none), u"", {}},
    MatchCase{u"[a-z]+", "i", u"12ABc", at(2), u"ABc", {}},
    MatchCase{u"\u00E9t\u00E9", "i", u"\u00C9T\u00C9", at(0), u"\u00C9T\u00C9", {}},
    MatchCase{u"(a)\\1", "i", u"aA", at(0), u"aA", {u"a"}},
    MatchCase{u"a.*?b", "", u"aXbYb", at(0), u"aXb", {}},
    MatchCase{u"a.*b", "", u"aXbYb", at(0), u"aXbYb", {}},
    MatchCase{u"a{2,3}?", "", u"aaaa", at(0), u"aa", {}},
    MatchCase{u"a??b", "", u"ab", at(0), u"ab", {}},
    MatchCase{u"((a)(b(c)))", "", u"abc", at(0), u"abc", {u"abc", u"a", u"bc", u"c"}},
    MatchCase{u"(?:a(b))+", "", u"abab", at(0), u"abab", {u"b"}},
    MatchCase{u"(a|ab)(c|bcd)(d*)", "", u"abcd", at(0), u"abcd", {u"a", u"bcd", u""}},
    MatchCase{u"a|", "", u"b", at(0), u"", {}},
    MatchCase{u"x*", "", u"abc", at(0), u"", {}},
    MatchCase{u"(\\d+)-(\\d+)", "", u"tel 555-1234", at(4), u"555-1234", {u"555", u"1234"}},
    MatchCase{u"\\$\\d", "", u"$5", at(0), u"$5", {}},
    MatchCase{u"[\\^a]", "", u"x^", at(1), u"^", {}},
    MatchCase{u"x\U0001F600", "", u"ax\U0001F600", at(1), u"x\U0001F600", {}},
    MatchCase{u"\U0001F600+", "", u"\U0001F600\U0001F600", at(0), u"\U0001F600\U0001F600", {}}));

struct ErrorCase {
  const char16_t* pattern;
  RegexStatus status;
  std::size_t offset;
};

class RegexCompileErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(RegexCompileErrors, AreReportedWithPosition) {
  const ErrorCase& c = GetParam();
  const CompileResult r = Regex::compile(c.pattern, {});
  EXPECT_FALSE(r);
  EXPECT_EQ(r.status, c.status) << narrow(c.pattern) << ": " << r.description;
  EXPECT_EQ(r.offset, c.offset) << narrow(c.pattern);
  EXPECT_FALSE(r.description.empty());
}

INSTANTIATE_TEST_SUITE_P(NotVbscriptSyntax, RegexCompileErrors, testing::Values(
    ErrorCase{u"a++", RegexStatus::unexpected_quantifier, 2},
    ErrorCase{u"a*+", RegexStatus::unexpected_quantifier, 2},
    ErrorCase{u"a?+", RegexStatus::unexpected_quantifier, 2},
    ErrorCase{u"a{2}+", RegexStatus::unexpected_quantifier, 4},
    ErrorCase{u"a**", RegexStatus::unexpected_quantifier, 2},
    ErrorCase{u"a???", RegexStatus::unexpected_quantifier, 3},
    ErrorCase{u"(?<=a)b", RegexStatus::syntax, 1},
    ErrorCase{u"(?<!a)b", RegexStatus::syntax, 1},
    ErrorCase{u"(?i)abc", RegexStatus::syntax, 1},
    ErrorCase{u"x(?<n>a)", RegexStatus::syntax, 2},
    ErrorCase{u"(?>a)", RegexStatus::syntax, 1},
    ErrorCase{u"(?#c)", RegexStatus::syntax, 1},
    ErrorCase{u"(*UTF)a", RegexStatus::unexpected_quantifier, 1},
    ErrorCase{u"*a", RegexStatus::unexpected_quantifier, 0},
    ErrorCase{u"a|+", RegexStatus::unexpected_quantifier, 2},
    ErrorCase{u"{2}", RegexStatus::unexpected_quantifier, 0},
    ErrorCase{u"^*", RegexStatus::unexpected_quantifier, 1},
    ErrorCase{u"\\b+", RegexStatus::unexpected_quantifier, 2},
    ErrorCase{u"(?=a)*", RegexStatus::unexpected_quantifier, 5},
    ErrorCase{u"a{3,1}", RegexStatus::syntax, 1},
    ErrorCase{u"a{70000}", RegexStatus::syntax, 1},
    ErrorCase{u"(a", RegexStatus::expected_paren, 2},
    ErrorCase{u"((a)", RegexStatus::expected_paren, 4},
    ErrorCase{u"a)", RegexStatus::syntax, 1},
    ErrorCase{u"[a", RegexStatus::expected_bracket, 0},
    ErrorCase{u"x[^", RegexStatus::expected_bracket, 1},
    ErrorCase{u"[z-a]", RegexStatus::invalid_range, 1},
    ErrorCase{u"ab\\", RegexStatus::syntax, 2},
    ErrorCase{u"\xD800" u"a", RegexStatus::syntax, 0}));

TEST(RegexCompile, RejectsNestingDeeperThanPcre2AllowsWithoutCrashing) {
  const std::u16string deep = std::u16string(5000, u'(') + u"a" + std::u16string(5000, u')');
  const CompileResult r = Regex::compile(deep, {});
  EXPECT_EQ(r.status, RegexStatus::syntax);
  EXPECT_FALSE(r);
}

TEST(RegexCompile, CountsCapturingGroupsOnly) {
  const CompileResult r = Regex::compile(u"(a)(?:b)(?=c)(d(e))", {});
  ASSERT_TRUE(r);
  EXPECT_EQ(r.regex->group_count(), 3u);
}

TEST(RegexSearch, StartsAtTheGivenOffsetButKeepsCaretAtTheSubjectStart) {
  const auto r = Regex::compile(u"^a|b", {}).regex;
  RegexMatch m;
  EXPECT_EQ(r->search(u"ab", 1, m), RegexStatus::ok);
  EXPECT_EQ(m.index, 1u);
  EXPECT_EQ(r->search(u"aa", 1, m), RegexStatus::no_match);
  EXPECT_EQ(r->search(u"ab", 3, m), RegexStatus::no_match);
}

struct GlobalCase {
  const char16_t* pattern;
  const char* flags;
  std::u16string subject;
  std::vector<std::pair<std::size_t, std::u16string>> matches;
};

class RegexSearchAll : public testing::TestWithParam<GlobalCase> {};

TEST_P(RegexSearchAll, WalksMatchesLikeVbscript) {
  const GlobalCase& c = GetParam();
  const auto r = Regex::compile(c.pattern, options_from(c.flags));
  ASSERT_TRUE(r) << r.description;
  std::vector<RegexMatch> found;
  ASSERT_EQ(r.regex->search_all(c.subject, found), RegexStatus::ok);
  std::vector<std::pair<std::size_t, std::string>> got, want;
  for (const RegexMatch& m : found) got.emplace_back(m.index, narrow(m.value(c.subject)));
  for (const auto& [i, v] : c.matches) want.emplace_back(i, narrow(v));
  EXPECT_EQ(got, want);
}

INSTANTIATE_TEST_SUITE_P(Global, RegexSearchAll, testing::Values(
    GlobalCase{u"x*", "g", u"abc", {{0, u""}, {1, u""}, {2, u""}, {3, u""}}},
    // After a non-empty match an empty one may follow at its end (JScript,
    // unlike Perl).
    GlobalCase{u"x*", "g", u"xab", {{0, u"x"}, {1, u""}, {2, u""}, {3, u""}}},
    GlobalCase{u"a|", "g", u"ab", {{0, u"a"}, {1, u""}, {2, u""}}},
    GlobalCase{u"\\d+", "g", u"a1b22c333", {{1, u"1"}, {3, u"22"}, {6, u"333"}}},
    GlobalCase{u"\\d+", "", u"a1b22c333", {{1, u"1"}}},
    GlobalCase{u"^\\w", "gm", u"ab\ncd\r\nef", {{0, u"a"}, {3, u"c"}, {7, u"e"}}},
    GlobalCase{u"^\\w", "g", u"ab\ncd", {{0, u"a"}}},
    GlobalCase{u"o", "gi", u"fOo", {{1, u"O"}, {2, u"o"}}},
    GlobalCase{u"\\b", "g", u"ab cd", {{0, u""}, {2, u""}, {3, u""}, {5, u""}}},
    GlobalCase{u"$", "g", u"ab", {{2, u""}}},
    GlobalCase{u"z", "g", u"abc", {}},
    // A script's string may hold an unpaired surrogate: it is one
    // character, matched by "." and negated classes.
    GlobalCase{u"a.b", "g", u"a\xD800" u"b", {{0, u"a\xD800" u"b"}}},
    GlobalCase{u"[^x]", "g", u"\xDC00", {{0, u"\xDC00"}}},
    // Empty matches step over a surrogate pair as one character.
    GlobalCase{u"x*", "g", u"a\xD83D\xDE00" u"b", {{0, u""}, {1, u""}, {3, u""}, {4, u""}}}));

// Each search used to re-check the whole rest of the subject, so a global
// search over many matches took time quadratic in their number (100,000
// matches: seconds); a linear walk takes milliseconds, far inside the
// limit given here.
TEST(RegexSearchAll, CostGrowsLinearlyWithTheMatches) {
  const auto r = Regex::compile(u" ", options_from("g"));
  ASSERT_TRUE(r);
  RegexLimits limits;
  limits.time_limit = std::chrono::seconds(5);
  std::vector<RegexMatch> found;
  ASSERT_EQ(r.regex->search_all(std::u16string(300000, u' '), found, limits), RegexStatus::ok);
  EXPECT_EQ(found.size(), 300000u);
}

}  // namespace
}  // namespace tap::regex
