#include "vbscript/objects/RegExpReplacement.h"

namespace tap::vbs {
namespace {

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

void expand_replacement(std::u16string_view replacement, std::u16string_view subject,
                        const regex::RegexMatch& match, std::u16string& out) {
  const std::size_t groups = match.groups.size();
  for (std::size_t i = 0; i < replacement.size(); ++i) {
    const char16_t c = replacement[i];
    if (c != u'$' || i + 1 == replacement.size()) {
      out += c;
      continue;
    }
    const char16_t next = replacement[i + 1];
    if (next == u'$') {
      out += u'$';
      ++i;
    } else if (next == u'&') {
      out += match.value(subject);
      ++i;
    } else if (next == u'`') {
      out += subject.substr(0, match.index);
      ++i;
    } else if (next == u'\'') {
      out += subject.substr(match.end());
      ++i;
    } else if (is_digit(next)) {
      std::size_t n = next - u'0';
      std::size_t used = 1;
      if (i + 2 < replacement.size() && is_digit(replacement[i + 2])) {
        const std::size_t two = n * 10 + (replacement[i + 2] - u'0');
        if (two >= 1 && two <= groups) {
          n = two;
          used = 2;
        }
      }
      if (n >= 1 && n <= groups) {
        out += match.groups[n - 1].in(subject);
        i += used;
      } else {
        out += c;
      }
    } else {
      out += c;
    }
  }
}

}  // namespace tap::vbs
