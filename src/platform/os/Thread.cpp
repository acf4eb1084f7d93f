#include "platform/os/Thread.h"

#include <pthread.h>
#include <unistd.h>

#include <memory>
#include <system_error>
#include <utility>

namespace tap::os {

static_assert(sizeof(pthread_t) <= sizeof(std::uintptr_t), "pthread_t must fit the handle");

namespace {

void* thread_main(void* arg) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(arg));
  (*body)();
  return nullptr;
}

std::size_t usable_stack_size(std::size_t wanted) {
  const auto least = static_cast<std::size_t>(PTHREAD_STACK_MIN);
  std::size_t size = wanted < least ? least : wanted;
  long page = sysconf(_SC_PAGESIZE);
  std::size_t p = page > 0 ? static_cast<std::size_t>(page) : 4096;
  return (size + p - 1) / p * p;
}

}  // namespace

Thread::Thread(std::size_t stack_bytes, std::function<void()> body) {
  pthread_attr_t attr;
  if (int rc = pthread_attr_init(&attr); rc != 0) throw std::system_error(rc, std::generic_category());
  auto arg = std::make_unique<std::function<void()>>(std::move(body));
  int rc = pthread_attr_setstacksize(&attr, usable_stack_size(stack_bytes));
  pthread_t handle{};
  if (rc == 0) rc = pthread_create(&handle, &attr, thread_main, arg.get());
  pthread_attr_destroy(&attr);
  if (rc != 0) throw std::system_error(rc, std::generic_category(), "thread creation failed");
  arg.release();  // the thread owns it now
  handle_ = static_cast<std::uintptr_t>(handle);
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
  pthread_join(static_cast<pthread_t>(handle_), nullptr);
  started_ = false;
}

}  // namespace tap::os
