#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>

namespace tap::os {

// Stays signalled until reset, so a signal given before the waiter arrives
// is not lost. A waiter spins briefly before it blocks.
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
};

}  // namespace tap::os
