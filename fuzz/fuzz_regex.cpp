// Compiles a pattern and searches a subject through the regex layer, under
// its own limits, so a pathological pattern must end with a limit status.
// Input: a switch byte, the pattern's length in units (bytes, or UTF-16
// code units under bit 4), the pattern, then the subject.
//   bit 0 ignore case, bit 1 global, bit 2 multiline,
//   bit 3 the 8-bit path the script worker takes (Windows-1252 texts),
//   bit 4 pattern and subject are raw UTF-16LE (lone surrogates included),
//   bits 5-7 the start offset of a single search, in eighths of the subject.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/code_page.h"
#include "platform/regex/Regex.h"
#include "platform/regex/RegexCache.h"
#include "platform/regex/match_ansi.h"

namespace {

using namespace tap::regex;

std::u16string decode(std::string_view bytes, bool raw_utf16) {
  if (!raw_utf16) return tap::os::utf8_to_wide(bytes);
  std::u16string out(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return out;
}

// A match or group outside the subject is a bug, whatever the pattern.
void check_span(std::size_t index, std::size_t length, std::size_t subject_size) {
  if (index > subject_size || length > subject_size - index) __builtin_trap();
}

void check_match(const RegexMatch& m, const Regex& re, std::size_t subject_size) {
  check_span(m.index, m.length, subject_size);
  if (m.groups.size() != re.group_count()) __builtin_trap();
  for (const RegexSpan& g : m.groups)
    if (g.matched) check_span(g.index, g.length, subject_size);
}

void run_wide(std::u16string_view pattern, std::u16string_view subject, RegexOptions options,
              unsigned start_eighths) {
  const CompileResult compiled = Regex::compile(pattern, options);
  if (!compiled) {
    if (compiled.offset > pattern.size() || compiled.description.empty()) __builtin_trap();
    return;
  }
  // The cache must give back an equivalent pattern.
  const CompileResult cached = RegexCache::shared().get(pattern, options);
  if (!cached || cached.regex->group_count() != compiled.regex->group_count()) __builtin_trap();

  const Regex& re = *compiled.regex;
  RegexMatch m;
  const std::size_t start = subject.size() * start_eighths / 8;
  if (re.search(subject, start, m) == RegexStatus::ok) {
    if (m.index < start) __builtin_trap();
    check_match(m, re, subject.size());
  }
  std::vector<RegexMatch> all;
  if (re.search_all(subject, all) == RegexStatus::ok) {
    if (!options.global && all.size() > 1) __builtin_trap();
    for (const RegexMatch& each : all) check_match(each, re, subject.size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > 4096) return 0;
  const std::uint8_t switches = data[0];
  const bool raw = switches & 16;
  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::string_view pattern_bytes = rest.substr(0, std::size_t(data[1]) * (raw ? 2 : 1));
  const std::string_view subject_bytes = rest.substr(pattern_bytes.size());

  RegexOptions options;
  options.ignore_case = switches & 1;
  options.global = switches & 2;
  options.multiline = switches & 4;

  if (switches & 8) {
    const AnsiMatchResult r = match_ansi(subject_bytes, pattern_bytes, options.ignore_case);
    if (r.failed() && r.description.empty()) __builtin_trap();
    return 0;
  }
  run_wide(decode(pattern_bytes, raw), decode(subject_bytes, raw), options, (switches >> 5) & 7);
  return 0;
}
