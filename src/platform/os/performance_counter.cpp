#include "platform/os/performance_counter.h"

#include <time.h>

namespace tap::os {

std::int64_t performance_counter() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

std::int64_t performance_frequency() { return 1'000'000'000; }

}  // namespace tap::os
