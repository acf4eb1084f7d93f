#include "platform/os/ManualResetEvent.h"

#include <windows.h>

#include <system_error>

namespace tap::os {

ManualResetEvent::ManualResetEvent() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  if (!event_)
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "CreateEvent failed");
}

ManualResetEvent::~ManualResetEvent() { CloseHandle(event_); }

// The flag mirrors the event so that is_set() and the spin need no call
// into the kernel; the event is what a blocked waiter sleeps on.
void ManualResetEvent::set() {
  signalled_.store(true, std::memory_order_release);
  SetEvent(event_);
}

void ManualResetEvent::reset() {
  ResetEvent(event_);
  signalled_.store(false, std::memory_order_release);
}

void ManualResetEvent::wait() {
  if (spin_.spin_until([this] { return is_set(); })) return;
  WaitForSingleObject(event_, INFINITE);
}

}  // namespace tap::os
