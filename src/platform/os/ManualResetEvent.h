#pragma once
#include <condition_variable>
#include <mutex>

namespace tap::os {

// Stays signalled until reset, so a signal given before the waiter arrives
// is not lost.
class ManualResetEvent {
 public:
  void set();
  void reset();
  void wait();
  bool is_set();

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool signalled_ = false;
};

}  // namespace tap::os
