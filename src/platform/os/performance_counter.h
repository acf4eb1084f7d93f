#pragma once
#include <cstdint>

namespace tap::os {

// A monotonic tick count and its rate, as the emulated waits measure time.
std::int64_t performance_counter();
std::int64_t performance_frequency();

}  // namespace tap::os
