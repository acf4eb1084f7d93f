#pragma once
#include <chrono>
#include <thread>

namespace tap::os {

inline void cpu_relax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#elif defined(__aarch64__)
  asm volatile("yield");
#endif
}

// Busy-waits up to `budget` for `ready()` to hold. A hand-off between two
// running threads completes in well under a microsecond this way, where
// blocking costs two scheduler round trips; past the budget the caller
// blocks as usual, so a long wait burns no more than the budget.
template <typename Ready>
bool spin_until(Ready ready, std::chrono::microseconds budget = std::chrono::microseconds(50)) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + budget;
  for (unsigned i = 1;; ++i) {
    if (ready()) return true;
    cpu_relax();
    if (i % 64 == 0 && Clock::now() >= deadline) return false;
  }
}

}  // namespace tap::os
