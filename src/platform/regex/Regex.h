#pragma once
// A compiled VBScript regular expression (PCRE2, 16-bit, UTF-16 subjects).
// Immutable once compiled, so one instance may be searched from several
// threads at once.
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/regex/RegexLimits.h"
#include "platform/regex/RegexMatch.h"
#include "platform/regex/RegexOptions.h"
#include "platform/regex/RegexStatus.h"

struct pcre2_real_code_16;

namespace tap::regex {

class Regex;

// The outcome of a compile: the pattern, or where and why it is invalid.
struct CompileResult {
  std::shared_ptr<const Regex> regex;
  RegexStatus status = RegexStatus::ok;
  std::size_t offset = 0;   // into the VBScript pattern
  std::string description;  // English, names the offset

  explicit operator bool() const { return regex != nullptr; }
};

class Regex {
  struct Private {};

 public:
  static CompileResult compile(std::u16string_view pattern, RegexOptions options);

  Regex(Private, pcre2_real_code_16* code, std::u16string pattern, RegexOptions options, unsigned groups);
  ~Regex();
  Regex(const Regex&) = delete;
  Regex& operator=(const Regex&) = delete;

  const std::u16string& pattern() const { return pattern_; }
  RegexOptions options() const { return options_; }
  unsigned group_count() const { return groups_; }

  // The first match that starts at or after `start` (a UTF-16 offset).
  // Returns ok, no_match or the limit that stopped the search.
  RegexStatus search(std::u16string_view subject, std::size_t start, RegexMatch& out,
                     const RegexLimits& limits = {}) const;

  // The matches a VBScript search reports: only the first unless the
  // pattern was compiled with `global`. After an empty match the next
  // search starts one character further on, so "x*" on "abc" gives four
  // empty matches. The time limit covers the whole walk.
  RegexStatus search_all(std::u16string_view subject, std::vector<RegexMatch>& out,
                         const RegexLimits& limits = {}) const;

 private:
  RegexStatus search_until(std::u16string_view subject, std::size_t start, RegexMatch& out,
                           const RegexLimits& limits, std::chrono::steady_clock::time_point deadline) const;

  pcre2_real_code_16* code_;
  std::u16string pattern_;
  RegexOptions options_;
  unsigned groups_;
};

}  // namespace tap::regex
