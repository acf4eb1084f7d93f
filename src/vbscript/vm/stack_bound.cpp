#include "vbscript/vm/stack_bound.h"

#include <algorithm>
#include <cstddef>

#include "platform/os/thread_stack.h"

namespace tap::vbs {

namespace {

constexpr std::size_t KiB = 1024;

// Stack kept free below the last call that passed the check: what one
// procedure body may still use before the next call checks again
// (expressions nested as deep as the parser allows, built-ins, the
// unwinder, and frames several times larger under sanitizers).
std::size_t safety_margin(std::size_t stack_size) { return std::clamp(stack_size / 4, 64 * KiB, 256 * KiB); }

// The stack of a thread never moves, and reading it can cost a walk of
// the process's mappings: once per thread.
const os::StackExtent& this_thread_stack() {
  thread_local const os::StackExtent extent = os::current_thread_stack();
  return extent;
}

}  // namespace

const char* call_stack_limit(const char* here) {
  const os::StackExtent& s = this_thread_stack();
  if (!s.known() || here <= s.bottom || here > s.top) {
    // Unknown: assume no more than the smallest default thread stack.
    return here - 512 * KiB;
  }
  return s.bottom + std::min(safety_margin(s.size()), static_cast<std::size_t>(here - s.bottom));
}

}  // namespace tap::vbs
