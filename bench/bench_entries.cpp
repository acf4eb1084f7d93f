// What the check of a host's session handle costs on every entry.
#include <benchmark/benchmark.h>

#include <vector>

#include "driver/SessionRegistry.h"

namespace {

// A registry holding `range(0)` live handles, asked about one of them.
void BM_HandleCheck(benchmark::State& state) {
  tap::SessionRegistry registry;
  std::vector<long> objects(static_cast<std::size_t>(state.range(0)) * 2);
  for (std::size_t i = 0; i < objects.size(); i += 2) registry.add(&objects[i]);
  const void* asked = &objects[objects.size() / 2];
  for (auto _ : state) {
    benchmark::DoNotOptimize(asked);
    benchmark::DoNotOptimize(registry.contains(asked));
  }
}
BENCHMARK(BM_HandleCheck)->Arg(1)->Arg(16)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
