#include "platform/os/process.h"

#include <windows.h>

namespace tap::os {

std::uint32_t current_process_id() { return GetCurrentProcessId(); }

std::uint64_t current_thread_id() { return GetCurrentThreadId(); }

}  // namespace tap::os
