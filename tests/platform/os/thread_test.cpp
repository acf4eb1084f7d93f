// Threads with a chosen stack size, and the extent of the running thread's
// stack that recursion limits are derived from.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/os/Thread.h"
#include "platform/os/thread_stack.h"

namespace tap::os {
namespace {

bool contains(const StackExtent& s, const void* p) {
  auto* c = static_cast<const char*>(p);
  return c > s.bottom && c < s.top;
}

TEST(Thread, RunsItsBodyOnAStackOfTheRequestedSize) {
  for (std::size_t kib : {256, 1024, 8192}) {
    StackExtent seen;
    bool local_inside = false;
    Thread t(kib * 1024, [&] {
      int local = 0;
      seen = current_thread_stack();
      local_inside = contains(seen, &local);
    });
    t.join();
    ASSERT_TRUE(seen.known()) << kib;
    EXPECT_TRUE(local_inside) << kib;
    EXPECT_GE(seen.size(), kib * 1024);
#ifdef _WIN32
    // Wine reserves at least 1 MB whatever is asked for.
    EXPECT_LE(seen.size(), std::max<std::size_t>(kib * 1024, std::size_t{1} << 20) + 64 * 1024);
#else
    EXPECT_LE(seen.size(), kib * 1024 + 64 * 1024);
#endif
  }
}

TEST(Thread, DestructionJoinsAThreadStillRunning) {
  std::atomic<bool> done{false};
  {
    Thread t(256 * 1024, [&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      done = true;
    });
  }
  EXPECT_TRUE(done);
}

TEST(ThreadStack, TheMainThreadsStackHoldsItsFrames) {
  int local = 0;
  StackExtent s = current_thread_stack();
  ASSERT_TRUE(s.known());
  EXPECT_TRUE(contains(s, &local));
}

}  // namespace
}  // namespace tap::os
