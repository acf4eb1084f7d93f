#include "platform/os/process.h"

#include <unistd.h>

namespace tap::os {

std::uint32_t current_process_id() { return static_cast<std::uint32_t>(getpid()); }

}  // namespace tap::os
