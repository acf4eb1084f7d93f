#pragma once
#include <cstdint>

namespace tap::os {

// Sleeps at least `ms` milliseconds: a wake-up that comes early (a signal,
// a coarse timer) sleeps again for the rest.
void sleep_ms(std::uint32_t ms);

}  // namespace tap::os
