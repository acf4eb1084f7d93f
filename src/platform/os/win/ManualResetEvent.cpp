#include "platform/os/ManualResetEvent.h"

#include <windows.h>

#include <system_error>

static_assert(sizeof(SRWLOCK) == sizeof(void*), "the lock is kept in a pointer-sized field");

namespace tap::os {

ManualResetEvent::ManualResetEvent() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  if (!event_)
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "CreateEvent failed");
}

ManualResetEvent::~ManualResetEvent() { CloseHandle(event_); }

// The flag mirrors the event so that is_set() and the spin need no call
// into the kernel; the event is what a blocked waiter sleeps on. The two
// change together under the lock: a waiter that saw the flag and reset at
// once must not leave the event signalled by the rest of a set().
void ManualResetEvent::set() {
  auto* lock = reinterpret_cast<PSRWLOCK>(&lock_);
  AcquireSRWLockExclusive(lock);
  signalled_.store(true, std::memory_order_release);
  SetEvent(event_);
  ReleaseSRWLockExclusive(lock);
}

void ManualResetEvent::reset() {
  auto* lock = reinterpret_cast<PSRWLOCK>(&lock_);
  AcquireSRWLockExclusive(lock);
  ResetEvent(event_);
  signalled_.store(false, std::memory_order_release);
  ReleaseSRWLockExclusive(lock);
}

void ManualResetEvent::wait() {
  if (spin_.spin_until([this] { return is_set(); })) return;
  WaitForSingleObject(event_, INFINITE);
}

}  // namespace tap::os
