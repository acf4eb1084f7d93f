#pragma once
// Rewrites a VBScript (JScript 5.5) regular expression as an equivalent
// PCRE2 pattern, or says where and why it is not valid VBScript syntax.
//
// Every construct is re-emitted explicitly rather than passed through, so
// that PCRE2-only syntax (possessive quantifiers, lookbehind, inline flags,
// named groups, \Z, \A, \Q...\E, \p{..}) never reaches PCRE2 with its
// Perl meaning. Decisions where the two dialects differ:
//   .        any character but "\n" (the VBScript documentation's rule)
//   \s       [ \f\n\r\t\v] only; \d \w \b ASCII
//   \v       vertical tab (PCRE2: vertical-whitespace class)
//   $        end of input only, not before a final newline, unless multiline
//   ^ $ (m)  also after / before "\n" or "\r", each on its own
//   [] [^]   match nothing / any character
//   []a]     an empty class followed by "a]" (PCRE2: a class of "]" and "a")
//   \n, \nm  back-reference when that many groups precede it, else octal
//   \cX      control character for a letter X, else a literal "c"
//   \xHH \uHHHH  exactly 2 / 4 hex digits, else a literal "x" / "u"
//   \other   the character itself (so \Z is "Z", \A is "A")
//   {        a literal when it does not start a valid {n}, {n,}, {n,m}
// Each quantifier is followed, and each group body preceded, by callout 2,
// where the search checks its time limit.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/regex/RegexStatus.h"

namespace tap::regex {

struct TranslateResult {
  RegexStatus status = RegexStatus::ok;
  std::size_t offset = 0;  // of the offending character in the source pattern
  std::u16string pcre;     // the PCRE2 pattern when status is ok
  unsigned group_count = 0;

  explicit operator bool() const { return status == RegexStatus::ok; }
};

TranslateResult translate_pattern(std::u16string_view pattern, bool multiline);

}  // namespace tap::regex
