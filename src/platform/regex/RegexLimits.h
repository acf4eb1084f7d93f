#pragma once
#include <chrono>
#include <cstdint>

namespace tap::regex {

// Bounds on one search, so that a pathological pattern fails instead of
// hanging or exhausting memory. The match limit bounds the backtracking
// from one start position; the time limit bounds the walk over all start
// positions, which on a long subject the match limit alone does not.
// The interpreter keeps its backtracking frames on the heap (never the
// machine stack), bounded by depth_limit and heap_limit_kib.
struct RegexLimits {
  std::uint32_t match_limit = 1'000'000;
  std::uint32_t depth_limit = 1'000'000;
  std::uint32_t heap_limit_kib = 64 * 1024;
  std::chrono::milliseconds time_limit{50};
};

}  // namespace tap::regex
