#pragma once
// The extent of the calling thread's stack, so that recursion can be
// bounded by the stack the thread really has (threads created by a host
// may have 1 MB or less; a main thread has what its ulimit gives).
#include <cstddef>

namespace tap::os {

struct StackExtent {
  // The stack grows down from `top` towards `bottom`; both null when the
  // system cannot tell.
  const char* bottom = nullptr;
  const char* top = nullptr;
  std::size_t size() const { return static_cast<std::size_t>(top - bottom); }
  bool known() const { return bottom != nullptr && top > bottom; }
};

StackExtent current_thread_stack();

}  // namespace tap::os
