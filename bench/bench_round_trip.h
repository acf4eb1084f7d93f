#pragma once
// The exact query round trip through the real driver, matching the last
// pair of a recording of state.range(0) pairs: registered by each
// benchmark program that compares its own figures with it in one run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench_recordings.h"

namespace bench {

inline void query_round_trip(benchmark::State& state) {
  const int pairs = static_cast<int>(state.range(0));
  auto file = query_recording(pairs);
  VarnelSession s = open_session(file->path);
  if (!s) {
    state.SkipWithError("open failed");
    return;
  }
  const std::string query = "Q" + std::to_string(pairs - 1) + "?\n";
  std::uint8_t buffer[64];
  std::uint32_t actual = 0;
  std::int32_t stop = 0;
  for (auto _ : state) {
    driver().write(s, 0, 0, reinterpret_cast<const std::uint8_t*>(query.data()),
                   static_cast<std::uint32_t>(query.size()), &actual);
    driver().read(s, 0, 0, '\n', buffer, sizeof buffer, &actual, &stop);
    benchmark::DoNotOptimize(buffer);
  }
  if (actual == 0) state.SkipWithError("the query was not answered");
  driver().close(s);
}

}  // namespace bench
