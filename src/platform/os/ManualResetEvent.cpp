#include "platform/os/ManualResetEvent.h"

namespace tap::os {

void ManualResetEvent::set() {
  {
    std::lock_guard lock(mutex_);
    signalled_.store(true, std::memory_order_release);
  }
  cv_.notify_all();
}

void ManualResetEvent::reset() {
  std::lock_guard lock(mutex_);
  signalled_.store(false, std::memory_order_release);
}

void ManualResetEvent::wait() {
  if (spin_.spin_until([this] { return is_set(); })) return;
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return signalled_.load(std::memory_order_acquire); });
}

}  // namespace tap::os
