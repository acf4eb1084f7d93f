#pragma once
#include <condition_variable>
#include <deque>
#include <mutex>

namespace tap::os {

// The worker thread's message queue: callers post, the worker takes in
// order and blocks while it is empty.
template <typename Message>
class RequestQueue {
 public:
  void post(Message m) {
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(std::move(m));
    }
    cv_.notify_one();
  }

  Message take() {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [this] { return !queue_.empty(); });
    Message m = std::move(queue_.front());
    queue_.pop_front();
    return m;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<Message> queue_;
};

}  // namespace tap::os
