#include <gtest/gtest.h>

#include "driver/Engine.h"

namespace tap {
namespace {

TEST(EngineLock, CountsLocksAndRefusesUnlockBelowZero) {
  Engine engine;
  const std::int32_t expected[] = {0, 0, 0, 0, 12};
  std::int32_t got[] = {engine.Lock(), engine.Lock(), engine.Unlock(), engine.Unlock(),
                        engine.Unlock()};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(got[i], expected[i]) << "call " << i;
  EXPECT_EQ(engine.lock_count(), 0u);
}

}  // namespace
}  // namespace tap
