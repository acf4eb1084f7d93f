#pragma once
#include <cstdint>

namespace tap::os {

std::uint32_t current_process_id();

}  // namespace tap::os
