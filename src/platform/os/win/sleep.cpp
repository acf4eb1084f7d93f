#include "platform/os/sleep.h"

#include <windows.h>

#include "platform/os/performance_counter.h"

namespace tap::os {

void sleep_ms(std::uint32_t ms) {
  if (ms == 0) return;
  // Sleep may end up to a timer tick early, so the rest is slept again
  // until the counter shows the whole time has passed.
  const std::int64_t frequency = performance_frequency();
  const std::int64_t deadline = performance_counter() + static_cast<std::int64_t>(ms) * frequency / 1000;
  DWORD remaining = ms;
  for (;;) {
    Sleep(remaining);
    std::int64_t left = deadline - performance_counter();
    if (left <= 0) return;
    remaining = static_cast<DWORD>((left * 1000 + frequency - 1) / frequency);
    if (remaining == 0) remaining = 1;
  }
}

}  // namespace tap::os
