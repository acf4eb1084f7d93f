#pragma once
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/os/spin_wait.h"

namespace tap::os {

// The worker thread's message queue: callers post, the worker takes in
// order and, while it is empty, may spin briefly and then blocks.
template <typename Message>
class RequestQueue {
 public:
  void post(Message m) {
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(std::move(m));
      size_.fetch_add(1, std::memory_order_release);
    }
    cv_.notify_one();
  }

  Message take() {
    spin_.spin_until([this] { return size_.load(std::memory_order_acquire) != 0; });
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [this] { return !queue_.empty(); });
    Message m = std::move(queue_.front());
    queue_.pop_front();
    size_.fetch_sub(1, std::memory_order_relaxed);
    return m;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<Message> queue_;
  std::atomic<std::size_t> size_{0};
  AdaptiveSpin spin_;
};

}  // namespace tap::os
