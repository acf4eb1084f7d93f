#include "platform/os/performance_counter.h"

#include <windows.h>

namespace tap::os {

std::int64_t performance_counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

std::int64_t performance_frequency() {
  // Fixed at boot, so read once.
  static const std::int64_t frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  return frequency;
}

}  // namespace tap::os
