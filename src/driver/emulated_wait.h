#pragma once
#include <cstdint>

namespace tap {

// Holds the caller until min(timeout, wait) milliseconds after `start`
// (a performance-counter value). A negative timeout or wait, or one already
// used up, does not sleep.
void emulated_wait(std::int64_t start, std::int64_t frequency, std::int32_t timeout,
                   std::int32_t wait);

}  // namespace tap
