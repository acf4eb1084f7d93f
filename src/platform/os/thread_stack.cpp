#include "platform/os/thread_stack.h"

#include <pthread.h>

namespace tap::os {

StackExtent current_thread_stack() {
  StackExtent extent;
  pthread_attr_t attr;
  // For the main thread glibc derives the extent from the stack limit and
  // the mappings, so a lowered ulimit shows here too.
  if (pthread_getattr_np(pthread_self(), &attr) != 0) return extent;
  void* low = nullptr;
  std::size_t size = 0;
  if (pthread_attr_getstack(&attr, &low, &size) == 0 && low && size > 0) {
    extent.bottom = static_cast<const char*>(low);
    extent.top = extent.bottom + size;
  }
  pthread_attr_destroy(&attr);
  return extent;
}

}  // namespace tap::os
