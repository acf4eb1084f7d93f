#include "vbscript/vm/RunLimits.h"

#include <algorithm>

#include "platform/os/performance_counter.h"
#include "vbscript/ScriptError.h"

namespace tap::vbs {

namespace {

// How often the clock is read while a deadline runs: a run stops within
// about this much of its deadline. A clock read costs tens of
// nanoseconds, so this keeps it far below a thousandth of the work.
constexpr std::int64_t granularity_ns = 1'000'000;
constexpr std::int64_t min_quantum = 1;
constexpr std::int64_t first_quantum = 128;
constexpr std::int64_t max_quantum = std::int64_t{1} << 16;

std::int64_t counter_ns() {
  constexpr std::int64_t ns_per_s = 1'000'000'000;
  const std::int64_t f = os::performance_frequency();
  const std::int64_t c = os::performance_counter();
  if (f == ns_per_s) return c;
  return c / f * ns_per_s + c % f * ns_per_s / f;
}

}  // namespace

constinit thread_local RunLimits* RunLimits::active_ = nullptr;

RunLimits::RunLimits() : meter_(com::MemoryMeter::create(default_memory_limit)) {}

RunLimits::~RunLimits() { meter_->disown(); }

void RunLimits::start() {
  aborting_ = false;
  if (timeout_ms_ < 0) {
    deadline_ = 0;
    quantum_ = max_quantum;
  } else {
    last_check_ = counter_ns();
    deadline_ = last_check_ + static_cast<std::int64_t>(timeout_ms_) * 1'000'000;
    quantum_ = first_quantum;
  }
  units_ = quantum_;
}

void RunLimits::check() {
  if (aborting_) abort();
  if (deadline_ == 0) {
    units_ = quantum_;
    return;
  }
  std::int64_t now = counter_ns();
  if (now >= deadline_) abort();
  std::int64_t elapsed = now - last_check_;
  last_check_ = now;
  if (elapsed > granularity_ns) quantum_ = std::max(min_quantum, quantum_ / 4);
  else if (elapsed < granularity_ns / 2) quantum_ = std::min(max_quantum, quantum_ * 2);
  units_ = quantum_;
}

void RunLimits::abort() {
  aborting_ = true;
  units_ = 0;  // the next unit checks, and throws, again
  throw ScriptAbort(ScriptAbort::Kind::timeout);
}

std::int64_t RunLimits::remaining_ms() const {
  if (deadline_ == 0) return -1;
  std::int64_t left = deadline_ - counter_ns();
  return left > 0 ? (left + 999'999) / 1'000'000 : 0;
}

}  // namespace tap::vbs
