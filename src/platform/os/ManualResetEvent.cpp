#include "platform/os/ManualResetEvent.h"

namespace tap::os {

void ManualResetEvent::set() {
  {
    std::lock_guard lock(mutex_);
    signalled_ = true;
  }
  cv_.notify_all();
}

void ManualResetEvent::reset() {
  std::lock_guard lock(mutex_);
  signalled_ = false;
}

void ManualResetEvent::wait() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return signalled_; });
}

bool ManualResetEvent::is_set() {
  std::lock_guard lock(mutex_);
  return signalled_;
}

}  // namespace tap::os
