#pragma once
#include <cstdint>

namespace tap::os {

std::uint32_t current_process_id();
// The operating system's number for the calling thread (what ps and top show).
std::uint64_t current_thread_id();

}  // namespace tap::os
