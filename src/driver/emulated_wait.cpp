#include "driver/emulated_wait.h"

#include <algorithm>

#include "platform/os/performance_counter.h"
#include "platform/os/sleep.h"

namespace tap {

void emulated_wait(std::int64_t start, std::int64_t frequency, std::int32_t timeout,
                   std::int32_t wait) {
  if (timeout <= 0 || wait <= 0) return;
  const std::int64_t now = os::performance_counter();
  const auto elapsed = static_cast<std::int64_t>(
      static_cast<double>(now - start) / static_cast<double>(frequency) * 1000.0);
  // Wide arithmetic: both operands are positive here, so nothing wraps.
  const std::int64_t left = std::min<std::int64_t>(timeout - elapsed, wait - elapsed);
  if (left > 0) os::sleep_ms(static_cast<std::uint32_t>(left));
}

}  // namespace tap
