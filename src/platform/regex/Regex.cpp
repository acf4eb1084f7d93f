#define PCRE2_CODE_UNIT_WIDTH 16
#include "platform/regex/Regex.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <pcre2.h>

#include <algorithm>
#include <new>

#include <time.h>

#include "platform/os/code_page.h"
#include "platform/regex/PatternTranslator.h"

namespace tap::regex {
namespace {

using Clock = std::chrono::steady_clock;

// The time limit is checked at every start position, so the clock read
// must be cheap; the coarse clock (a few ms resolution) is, and a limit of
// tens of milliseconds needs no more.
Clock::time_point coarse_now() {
#if defined(CLOCK_MONOTONIC_COARSE)
  timespec ts;
  if (clock_gettime(CLOCK_MONOTONIC_COARSE, &ts) == 0)
    return Clock::time_point(std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec));
#endif
  return Clock::now();
}

// Every translated pattern starts with this callout; PCRE2 calls it once
// per start position it tries, which is where the time limit is checked.
constexpr std::u16string_view kStartCallout = u"(?C1)(?:";

struct CalloutState {
  Clock::time_point deadline;
  bool expired = false;
};

int on_callout(pcre2_callout_block*, void* data) {
  auto* state = static_cast<CalloutState*>(data);
  if (coarse_now() > state->deadline) {
    state->expired = true;
    return PCRE2_ERROR_CALLOUT;
  }
  return 0;
}

// Match data and context are reused per thread: allocating them per
// search costs more than a short search itself.
class ThreadMatchState {
 public:
  ThreadMatchState() : context_(pcre2_match_context_create(nullptr)) {
    if (!context_) throw std::bad_alloc();
  }
  ~ThreadMatchState() {
    if (data_) pcre2_match_data_free(data_);
    pcre2_match_context_free(context_);
  }
  ThreadMatchState(const ThreadMatchState&) = delete;
  ThreadMatchState& operator=(const ThreadMatchState&) = delete;

  pcre2_match_data* data(std::uint32_t pairs) {
    if (!data_ || pairs_ < pairs) {
      if (data_) pcre2_match_data_free(data_);
      data_ = pcre2_match_data_create(pairs, nullptr);
      if (!data_) throw std::bad_alloc();
      pairs_ = pairs;
    }
    return data_;
  }
  pcre2_match_context* context() { return context_; }

 private:
  pcre2_match_context* context_;
  pcre2_match_data* data_ = nullptr;
  std::uint32_t pairs_ = 0;
};

#ifdef _WIN32
// MinGW's emulated thread-local storage may free a thread_local object
// before its destructor runs at thread exit; the state is kept on the heap
// instead and a fiber-local slot's callback destroys it.
void WINAPI destroy_thread_state(void* state) { delete static_cast<ThreadMatchState*>(state); }

ThreadMatchState& thread_state() {
  static const DWORD slot = FlsAlloc(destroy_thread_state);
  thread_local ThreadMatchState* state = nullptr;
  if (!state) {
    state = new ThreadMatchState;
    if (slot != FLS_OUT_OF_INDEXES) FlsSetValue(slot, state);
  }
  return *state;
}
#else
ThreadMatchState& thread_state() {
  thread_local ThreadMatchState state;
  return state;
}
#endif

RegexStatus status_from_pcre2(int rc, bool expired) {
  switch (rc) {
    case PCRE2_ERROR_NOMATCH: return RegexStatus::no_match;
    case PCRE2_ERROR_MATCHLIMIT: return RegexStatus::match_limit;
    case PCRE2_ERROR_DEPTHLIMIT: return RegexStatus::depth_limit;
    case PCRE2_ERROR_HEAPLIMIT:
    case PCRE2_ERROR_NOMEMORY: return RegexStatus::heap_limit;
    case PCRE2_ERROR_CALLOUT: return expired ? RegexStatus::time_limit : RegexStatus::internal;
    default: return rc >= 0 ? RegexStatus::ok : RegexStatus::internal;
  }
}

bool is_high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// PCRE2 checks a UTF subject from the start offset to its end at every
// call (even with invalid UTF allowed), which makes a global search over
// many matches quadratic. The subject is made valid once instead: an
// unpaired surrogate, a character of its own to a script, becomes U+FFFD,
// which keeps every offset and, like the surrogate, matches "." and
// negated classes.
std::u16string_view valid_subject(std::u16string_view subject, std::u16string& storage) {
  for (std::size_t i = 0; i < subject.size(); ++i) {
    const char16_t c = subject[i];
    if (is_high_surrogate(c) && i + 1 < subject.size() && is_low_surrogate(subject[i + 1])) {
      ++i;
      continue;
    }
    if (!is_high_surrogate(c) && !is_low_surrogate(c)) continue;
    if (storage.empty()) storage.assign(subject);
    storage[i] = u'\uFFFD';
  }
  return storage.empty() ? subject : std::u16string_view(storage);
}

// The search may only start on the first code unit of a character.
std::size_t character_start(std::u16string_view subject, std::size_t at) {
  if (at > 0 && at < subject.size() && is_low_surrogate(subject[at]) && is_high_surrogate(subject[at - 1])) return at + 1;
  return at;
}

std::string describe(RegexStatus status, std::size_t offset) {
  return std::string(regex_status_text(status)) + " at offset " + std::to_string(offset);
}

}  // namespace

CompileResult Regex::compile(std::u16string_view pattern, RegexOptions options) {
  CompileResult result;
  TranslateResult t = translate_pattern(pattern, options.multiline);
  if (!t) {
    result.status = t.status;
    result.offset = t.offset;
    result.description = describe(t.status, t.offset);
    return result;
  }
  std::u16string pcre(kStartCallout);
  pcre += t.pcre;
  pcre += u')';

  std::uint32_t flags = PCRE2_UTF | PCRE2_MATCH_UNSET_BACKREF |
                        PCRE2_DOLLAR_ENDONLY | PCRE2_NEVER_UCP | PCRE2_NEVER_BACKSLASH_C;
  if (options.ignore_case) flags |= PCRE2_CASELESS;
  int error = 0;
  PCRE2_SIZE error_offset = 0;
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pcre.data()), pcre.size(), flags,
                                   &error, &error_offset, nullptr);
  if (!code) {
    // The translation only emits what PCRE2 accepts, so what remains are
    // its size limits (a huge pattern or repeat).
    PCRE2_UCHAR buffer[256];
    const int n = pcre2_get_error_message(error, buffer, sizeof buffer / sizeof buffer[0]);
    result.status = RegexStatus::syntax;
    result.offset = pattern.size();
    result.description = std::string(regex_status_text(RegexStatus::syntax)) + ": " +
                         os::wide_to_ansi(std::u16string_view(reinterpret_cast<const char16_t*>(buffer),
                                                              n > 0 ? std::size_t(n) : 0));
    return result;
  }
  result.regex = std::make_shared<const Regex>(Private{}, code, std::u16string(pattern), options, t.group_count);
  return result;
}

Regex::Regex(Private, pcre2_real_code_16* code, std::u16string pattern, RegexOptions options, unsigned groups)
    : code_(code), pattern_(std::move(pattern)), options_(options), groups_(groups) {}

Regex::~Regex() { pcre2_code_free(code_); }

RegexStatus Regex::search(std::u16string_view subject, std::size_t start, RegexMatch& out,
                          const RegexLimits& limits) const {
  std::u16string storage;
  const std::u16string_view valid = valid_subject(subject, storage);
  return search_until(valid, character_start(valid, start), out, limits, coarse_now() + limits.time_limit);
}

RegexStatus Regex::search_until(std::u16string_view subject, std::size_t start, RegexMatch& out,
                                const RegexLimits& limits, Clock::time_point deadline) const {
  if (start > subject.size()) return RegexStatus::no_match;
  ThreadMatchState& ts = thread_state();
  pcre2_match_data* data = ts.data(groups_ + 1);
  pcre2_match_context* context = ts.context();
  pcre2_set_match_limit(context, limits.match_limit);
  pcre2_set_depth_limit(context, limits.depth_limit);
  pcre2_set_heap_limit(context, limits.heap_limit_kib);
  CalloutState callout{deadline};
  pcre2_set_callout(context, on_callout, &callout);

  // The subject is valid UTF-16 and the start a character's first unit.
  const int rc = pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), start,
                             PCRE2_NO_UTF_CHECK, data, context);
  if (rc < 0) return status_from_pcre2(rc, callout.expired);

  const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data);
  out.index = ov[0];
  out.length = ov[1] - ov[0];
  out.groups.resize(groups_);
  for (unsigned g = 1; g <= groups_; ++g) {
    RegexSpan& span = out.groups[g - 1];
    // Groups above rc took no part; PCRE2 marks unset pairs with PCRE2_UNSET.
    span.matched = int(g) < rc && ov[2 * g] != PCRE2_UNSET;
    span.index = span.matched ? ov[2 * g] : 0;
    span.length = span.matched ? ov[2 * g + 1] - ov[2 * g] : 0;
  }
  return RegexStatus::ok;
}

RegexStatus Regex::search_all(std::u16string_view subject, std::vector<RegexMatch>& out,
                              const RegexLimits& limits) const {
  out.clear();
  const Clock::time_point deadline = coarse_now() + limits.time_limit;
  std::u16string storage;
  subject = valid_subject(subject, storage);
  std::size_t start = 0;
  while (start <= subject.size()) {
    RegexMatch m;
    const RegexStatus s = search_until(subject, start, m, limits, deadline);
    if (s == RegexStatus::no_match) break;
    if (s != RegexStatus::ok) return s;
    out.push_back(std::move(m));
    if (!options_.global) break;
    const RegexMatch& last = out.back();
    start = last.length == 0 ? character_start(subject, last.index + 1) : last.end();
  }
  return RegexStatus::ok;
}

}  // namespace tap::regex
