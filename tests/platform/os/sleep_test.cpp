#include "platform/os/sleep.h"

#include <gtest/gtest.h>

#include "platform/os/performance_counter.h"

namespace tap::os {
namespace {

double elapsed_ms(std::int64_t start) {
  return static_cast<double>(performance_counter() - start) * 1000.0 /
         static_cast<double>(performance_frequency());
}

TEST(Sleep, NeverShorterThanAsked) {
  for (std::uint32_t ms : {1u, 2u, 5u, 15u}) {
    for (int i = 0; i < 5; ++i) {
      std::int64_t start = performance_counter();
      sleep_ms(ms);
      EXPECT_GE(elapsed_ms(start), ms) << ms << " ms";
    }
  }
}

TEST(Sleep, ZeroReturnsAtOnce) {
  std::int64_t start = performance_counter();
  sleep_ms(0);
  EXPECT_LT(elapsed_ms(start), 50.0);
}

TEST(PerformanceCounter, IsMonotonicAtNanosecondRate) {
#ifdef _WIN32
  // The system's counter runs at its own fixed rate, 10 MHz on current
  // Windows and Wine.
  EXPECT_GE(performance_frequency(), 1'000'000);
  EXPECT_EQ(performance_frequency(), performance_frequency());
#else
  EXPECT_EQ(performance_frequency(), 1'000'000'000);
#endif
  std::int64_t a = performance_counter();
  std::int64_t b = performance_counter();
  EXPECT_LE(a, b);
}

}  // namespace
}  // namespace tap::os
