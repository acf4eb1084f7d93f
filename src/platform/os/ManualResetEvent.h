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
#ifdef _WIN32
  // A Windows manual-reset event object; throws std::system_error when
  // the system has none left.
  ManualResetEvent();
  ~ManualResetEvent();
  ManualResetEvent(const ManualResetEvent&) = delete;
  ManualResetEvent& operator=(const ManualResetEvent&) = delete;
#endif
  void set();
  void reset();
  void wait();
  bool is_set() const { return signalled_.load(std::memory_order_acquire); }

 private:
#ifdef _WIN32
  void* event_;
  void* lock_ = nullptr;  // an SRWLOCK: set and reset never interleave
#else
  std::mutex mutex_;
  std::condition_variable cv_;
#endif
  std::atomic<bool> signalled_{false};
  AdaptiveSpin spin_;
};

}  // namespace tap::os
