#include "driver/SessionRegistry.h"

#include <gtest/gtest.h>

#include <vector>

namespace tap {
namespace {

// Handles are object addresses: aligned, and often close together.
const void* handle(std::size_t i) { return reinterpret_cast<const void*>(0x10000 + 16 * i); }

TEST(SessionRegistryTest, KnowsExactlyTheHandlesAddedAndNotRemoved) {
  SessionRegistry r;
  constexpr std::size_t kCount = 1000;  // past several table replacements
  for (std::size_t i = 0; i < kCount; ++i) r.add(handle(i));
  for (std::size_t i = 0; i < kCount; i += 2) EXPECT_TRUE(r.remove(handle(i)));
  for (std::size_t i = 0; i < kCount; ++i) EXPECT_EQ(r.contains(handle(i)), i % 2 == 1) << i;
  EXPECT_FALSE(r.contains(handle(kCount)));
  EXPECT_FALSE(r.contains(nullptr));
  EXPECT_FALSE(r.contains(reinterpret_cast<const void*>(1)));
  EXPECT_FALSE(r.remove(handle(0)));  // a second close
}

TEST(SessionRegistryTest, OpenCloseCyclesDoNotFillTheTable) {
  SessionRegistry r;
  r.add(handle(7));
  // Removed slots are reused or dropped at the next replacement, so a
  // long-running host that opens and closes forever keeps finding its one
  // live session.
  for (std::size_t i = 0; i < 100000; ++i) {
    r.add(handle(100 + i));
    ASSERT_TRUE(r.remove(handle(100 + i)));
  }
  EXPECT_TRUE(r.contains(handle(7)));
  EXPECT_FALSE(r.contains(handle(100)));
}

}  // namespace
}  // namespace tap
