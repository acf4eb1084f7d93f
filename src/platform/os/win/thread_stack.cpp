#include "platform/os/thread_stack.h"

#include <windows.h>

namespace tap::os {

StackExtent current_thread_stack() {
  // The whole reservation, guard pages included: the low end is the
  // reservation's base, where the last guard page sits.
  ULONG_PTR low = 0;
  ULONG_PTR high = 0;
  GetCurrentThreadStackLimits(&low, &high);
  StackExtent extent;
  if (low != 0 && high > low) {
    extent.bottom = reinterpret_cast<const char*>(low);
    extent.top = reinterpret_cast<const char*>(high);
  }
  return extent;
}

}  // namespace tap::os
