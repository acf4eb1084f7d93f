#include "platform/regex/match_ansi.h"

#include "platform/os/code_page.h"
#include "platform/regex/RegexCache.h"

namespace tap::regex {
namespace {

std::string_view up_to_zero(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

}  // namespace

AnsiMatchResult match_ansi(std::string_view subject, std::string_view pattern, bool ignore_case,
                           const RegexLimits& limits) {
  AnsiMatchResult result;
  RegexOptions options;
  options.ignore_case = ignore_case;
  const CompileResult compiled = RegexCache::shared().get(os::ansi_to_wide(up_to_zero(pattern)), options);
  if (!compiled) {
    result.status = compiled.status;
    result.description = compiled.description;
    return result;
  }
  const std::u16string text = os::ansi_to_wide(up_to_zero(subject));
  RegexMatch m;
  result.status = compiled.regex->search(text, 0, m, limits);
  if (result.status == RegexStatus::ok) {
    result.groups.reserve(m.groups.size());
    for (const RegexSpan& g : m.groups) result.groups.push_back(os::wide_to_ansi(g.in(text)));
  } else if (result.status != RegexStatus::no_match) {
    result.description = std::string(regex_status_text(result.status));
  }
  return result;
}

}  // namespace tap::regex
