#include "platform/os/process.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace tap::os {

std::uint32_t current_process_id() { return static_cast<std::uint32_t>(getpid()); }

std::uint64_t current_thread_id() { return static_cast<std::uint64_t>(::syscall(SYS_gettid)); }

}  // namespace tap::os
