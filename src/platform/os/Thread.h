#pragma once
// A thread with an explicit stack size. Threads get whatever the process
// default is (8 MB, 2 MB or less under a lowered ulimit, 1 MB on Windows);
// code that bounds its recursion by the stack it has wants to choose it.
#include <cstddef>
#include <cstdint>
#include <functional>

namespace tap::os {

class Thread {
 public:
  Thread() = default;
  // Starts `body` on a new thread with a stack of at least `stack_bytes`
  // (rounded up to what the system accepts). Throws std::system_error when
  // the thread cannot be created. `body` must let nothing escape.
  Thread(std::size_t stack_bytes, std::function<void()> body);
  // A thread still running is joined.
  ~Thread();
  Thread(Thread&& other) noexcept;
  Thread& operator=(Thread&& other) noexcept;
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  bool joinable() const { return started_; }
  void join();

 private:
  std::uintptr_t handle_ = 0;  // pthread_t, or a Windows thread HANDLE
  bool started_ = false;
};

}  // namespace tap::os
