#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "platform/os/spin_wait.h"

namespace tap::os {

// Stays signalled until reset, so a signal given before the waiter arrives
// is not lost. A waiter may spin briefly before it blocks.
class ManualResetEvent {
 public:
  void set();
  void reset();
  void wait();
  bool is_set() const { return signalled_.load(std::memory_order_acquire); }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  std::atomic<bool> signalled_{false};
  AdaptiveSpin spin_;
};

}  // namespace tap::os
