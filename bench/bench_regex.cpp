// Regular-expression costs on the write path: the scripted-stimulus match
// runs for every write that reaches the stimulus.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "platform/regex/Regex.h"
#include "platform/regex/RegexCache.h"
#include "platform/regex/match_ansi.h"

namespace {

using namespace tap::regex;

constexpr char16_t kScpi[] = u"^:?MEAS(ure)?:VOLT(age)?:DC\\? *(\\d+)?";

// A 30-byte query, cache hit: lookup plus first-match search.
void BM_ScpiCacheHit30Bytes(benchmark::State& state) {
  const std::u16string write = u":MEASure:VOLTage:DC? 1234567\n";
  RegexCache& cache = RegexCache::shared();
  cache.get(kScpi, {});
  for (auto _ : state) {
    const CompileResult r = cache.get(kScpi, {});
    RegexMatch m;
    benchmark::DoNotOptimize(r.regex->search(write, 0, m));
    benchmark::DoNotOptimize(m);
  }
}
BENCHMARK(BM_ScpiCacheHit30Bytes);

// The worker's whole operation on the same write: code page in and out,
// zero-byte cut, cache, search, groups.
void BM_ScpiMatchAnsi30Bytes(benchmark::State& state) {
  const std::string write = ":MEASure:VOLTage:DC? 1234567\n";
  for (auto _ : state) benchmark::DoNotOptimize(match_ansi(write, ":?MEAS(ure)?:VOLT(age)?:DC\\? *(\\d+)?", false));
}
BENCHMARK(BM_ScpiMatchAnsi30Bytes);

std::u16string binary_megabyte() {
  std::u16string s(1 << 20, u'\0');
  std::uint32_t x = 12345;
  for (auto& c : s) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char16_t>(((x >> 16) & 0xFF) | 1);  // no zero byte: all of it is searched
  }
  return s;
}

// A 1 MB binary write that does not match, anchored pattern and the same
// pattern without its anchor (every start position is tried).
void BM_Scpi1MbBinaryNoMatch(benchmark::State& state) {
  const std::u16string write = binary_megabyte();
  const auto r = RegexCache::shared().get(state.range(0) ? kScpi : kScpi + 1, {});
  for (auto _ : state) {
    RegexMatch m;
    if (r.regex->search(write, 0, m) != RegexStatus::no_match) state.SkipWithError("expected no match");
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(write.size()));
}
BENCHMARK(BM_Scpi1MbBinaryNoMatch)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Catastrophic backtracking: must end in a limit failure within 100 ms.
void BM_CatastrophicFails(benchmark::State& state) {
  const std::u16string subject = std::u16string(10000, u'a') + u"b";
  const auto r = Regex::compile(u"(a+)+$", {});
  for (auto _ : state) {
    RegexMatch m;
    const RegexStatus s = r.regex->search(subject, 0, m);
    if (s == RegexStatus::ok || s == RegexStatus::no_match) state.SkipWithError("expected a limit failure");
  }
}
BENCHMARK(BM_CatastrophicFails)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_CompileScpi(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Regex::compile(kScpi, {}));
}
BENCHMARK(BM_CompileScpi);

}  // namespace

BENCHMARK_MAIN();
