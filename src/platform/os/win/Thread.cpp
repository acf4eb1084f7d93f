#include "platform/os/Thread.h"

#include <windows.h>
#include <process.h>

#include <cerrno>
#include <memory>
#include <system_error>
#include <utility>

namespace tap::os {

namespace {

unsigned __stdcall thread_main(void* arg) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(arg));
  (*body)();
  return 0;
}

// The reservation is made in whole allocation units (64 KiB).
unsigned usable_stack_size(std::size_t wanted) {
  constexpr std::size_t unit = std::size_t{64} << 10;
  constexpr std::size_t largest = std::size_t{1} << 30;
  std::size_t size = wanted < unit ? unit : wanted > largest ? largest : wanted;
  return static_cast<unsigned>((size + unit - 1) / unit * unit);
}

}  // namespace

Thread::Thread(std::size_t stack_bytes, std::function<void()> body) {
  auto arg = std::make_unique<std::function<void()>>(std::move(body));
  // _beginthreadex rather than CreateThread, so the C runtime sets up its
  // per-thread state. The size is the stack's reservation, not its initial
  // commit, or every thread would take its whole stack in memory at once.
  unsigned id = 0;
  std::uintptr_t handle = _beginthreadex(nullptr, usable_stack_size(stack_bytes), thread_main, arg.get(),
                                         STACK_SIZE_PARAM_IS_A_RESERVATION, &id);
  if (handle == 0) throw std::system_error(errno, std::generic_category(), "thread creation failed");
  arg.release();  // the thread owns it now
  handle_ = handle;
  started_ = true;
}

Thread::~Thread() { join(); }

Thread::Thread(Thread&& other) noexcept
    : handle_(std::exchange(other.handle_, 0)), started_(std::exchange(other.started_, false)) {}

Thread& Thread::operator=(Thread&& other) noexcept {
  if (this != &other) {
    join();
    handle_ = std::exchange(other.handle_, 0);
    started_ = std::exchange(other.started_, false);
  }
  return *this;
}

void Thread::join() {
  if (!started_) return;
  auto* handle = reinterpret_cast<HANDLE>(handle_);
  WaitForSingleObject(handle, INFINITE);
  CloseHandle(handle);
  started_ = false;
}

}  // namespace tap::os
