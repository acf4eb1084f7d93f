#pragma once
// The match the script worker performs for a scripted stimulus: the first
// match of a pattern in an 8-bit text, with its capture groups.
#include <string>
#include <string_view>
#include <vector>

#include "platform/regex/RegexLimits.h"
#include "platform/regex/RegexStatus.h"

namespace tap::regex {

struct AnsiMatchResult {
  RegexStatus status = RegexStatus::no_match;  // ok when matched
  std::vector<std::string> groups;             // group 1 first; "" for a group that took no part
  std::string description;                     // why the pattern or the search failed

  bool matched() const { return status == RegexStatus::ok; }
  bool failed() const { return status != RegexStatus::ok && status != RegexStatus::no_match; }
};

// Subject and pattern are byte strings in the ANSI code page (Windows-1252)
// and, like the zero-terminated texts the worker hands over, are read only
// up to their first zero byte. Not global, not multiline; the groups come
// back through the same code page. Compiled patterns come from the shared
// cache. An invalid pattern or a search that hits a limit is a failure
// with a description, never an exception.
AnsiMatchResult match_ansi(std::string_view subject, std::string_view pattern, bool ignore_case,
                           const RegexLimits& limits = {});

}  // namespace tap::regex
