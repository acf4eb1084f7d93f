#include "platform/os/MemoryArena.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tap::os {
namespace {

// Allocations of mixed sizes and alignments, some larger than a block,
// keep their alignment and never overlap, across many blocks.
TEST(MemoryArena, AllocationsAreAlignedAndDisjoint) {
  MemoryArena arena;
  struct Range {
    std::uintptr_t begin, end;
  };
  std::vector<Range> ranges;
  const std::size_t sizes[] = {1, 3, 8, 24, 100, 4096, 300000, 5 << 20};
  const std::size_t aligns[] = {1, 2, 8, 16};
  for (int round = 0; round < 200; ++round) {
    const std::size_t size = sizes[round % std::size(sizes)];
    const std::size_t align = aligns[round % std::size(aligns)];
    auto* p = static_cast<char*>(arena.allocate(size, align));
    ASSERT_EQ(reinterpret_cast<std::uintptr_t>(p) % align, 0u);
    std::memset(p, round, size);  // writable to its last byte
    ranges.push_back({reinterpret_cast<std::uintptr_t>(p), reinterpret_cast<std::uintptr_t>(p) + size});
  }
  std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) { return a.begin < b.begin; });
  for (std::size_t i = 1; i < ranges.size(); ++i) EXPECT_LE(ranges[i - 1].end, ranges[i].begin);
}

}  // namespace
}  // namespace tap::os
