#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/os/ManualResetEvent.h"
#include "platform/os/RequestQueue.h"

namespace tap::os {
namespace {

TEST(ManualResetEvent, StaysSignalledUntilReset) {
  ManualResetEvent event;
  EXPECT_FALSE(event.is_set());
  event.set();
  event.wait();  // a signal given before the wait is not lost
  event.wait();
  EXPECT_TRUE(event.is_set());
  event.reset();
  EXPECT_FALSE(event.is_set());
}

TEST(ManualResetEvent, WakesAWaiterOnAnotherThread) {
  ManualResetEvent event;
  int seen = 0;
  std::thread waiter([&] {
    event.wait();
    seen = 1;
  });
  event.set();
  waiter.join();
  EXPECT_EQ(seen, 1);
}

TEST(RequestQueue, DeliversPostsInOrderAcrossThreads) {
  RequestQueue<int> queue;
  std::vector<int> taken;
  std::thread worker([&] {
    for (int i = 0; i < 100; ++i) taken.push_back(queue.take());
  });
  for (int i = 0; i < 100; ++i) queue.post(i);
  worker.join();
  ASSERT_EQ(taken.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(taken[i], i);
}

}  // namespace
}  // namespace tap::os
