// Playback through the real driver and the C entries: a short query's round
// trip; the open and close of large recordings beside `xmllint --noout
// --huge` on the same file; the emulated wait beside a bare sleep of the
// same length. Each comparison alternates the two in one run and reports
// the median of the per-iteration ratios ("ratio", ours over the other).
#include <benchmark/benchmark.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <time.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <thread>
#include <vector>

#include "bench_recordings.h"
#include "bench_round_trip.h"

namespace {

using namespace bench;
using Clock = std::chrono::steady_clock;

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

BENCHMARK(bench::query_round_trip)->Name("BM_QueryRoundTrip")->Arg(10)->Arg(10000);

// CPU time (user + system), as the machine is shared: the whole process's
// for an open and close, since the load runs on the driver's worker
// thread, and the child's for xmllint, start-up included (about a
// millisecond). --huge lifts xmllint's 10 MB text limit, which the large
// response exceeds.
double process_cpu_ms() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) * 1e-6;
}

#ifdef _WIN32
// No xmllint to compare with; the open benchmarks report that instead.
double xmllint_cpu_ms(const std::string&) { return -1.0; }
#else
double xmllint_cpu_ms(const std::string& path) {
  pid_t pid = fork();
  if (pid == 0) {
    int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, 1);
      dup2(null, 2);
    }
    execlp("xmllint", "xmllint", "--noout", "--huge", path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return -1.0;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1.0;
  auto ms = [](const timeval& tv) { return static_cast<double>(tv.tv_sec) * 1e3 + static_cast<double>(tv.tv_usec) * 1e-3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}
#endif

void open_benchmark(benchmark::State& state, const RecordingFile& file) {
  std::vector<double> ours, lint, ratio;
  for (auto _ : state) {
    double start = process_cpu_ms();
    VarnelSession s = open_session(file.path);
    if (!s) {
      state.SkipWithError("open failed");
      return;
    }
    driver().close(s);
    const double ms = process_cpu_ms() - start;
    state.SetIterationTime(ms * 1e-3);
    const double reference = xmllint_cpu_ms(file.path);
    if (reference <= 0) {
      state.SkipWithError("xmllint refused the file");
      return;
    }
    ours.push_back(ms);
    lint.push_back(reference);
    ratio.push_back(ms / reference);
  }
  state.counters["ours_ms"] = median(ours);
  state.counters["xmllint_ms"] = median(lint);
  state.counters["ratio"] = median(ratio);
}

void BM_OpenClose10000Pairs(benchmark::State& state) {
  static auto file = recorded_session();
  open_benchmark(state, *file);
}
BENCHMARK(BM_OpenClose10000Pairs)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(15);

// One response of `range(0)` MB of random bytes, twice that in bin.hex: a
// recorded waveform.
void BM_OpenCloseLargeResponse(benchmark::State& state) {
  const auto mb = static_cast<std::size_t>(state.range(0));
  static std::map<std::size_t, std::unique_ptr<RecordingFile>> files;
  auto& file = files[mb];
  if (!file) {
    std::string block(mb * 1'000'000, '\0');
    std::uint32_t x = 12345;
    for (char& c : block) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    file = write_recording(std::to_string(mb) + "mb", pair_xml("CURV?\n", block, 0));
  }
  open_benchmark(state, *file);
}
BENCHMARK(BM_OpenCloseLargeResponse)->Arg(50)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(9);

// A write recorded with wait W against a bare sleep of W, in turn: how
// much longer the driver holds the caller than sleeping would.
void BM_WaitAgainstSleep(benchmark::State& state) {
  const int wait = static_cast<int>(state.range(0));
  auto file = write_recording("wait" + std::to_string(wait), pair_xml("W\n", "", wait));
  VarnelSession s = open_session(file->path);
  if (!s) {
    state.SkipWithError("open failed");
    return;
  }
  const std::uint8_t w[] = {'W', '\n'};
  std::uint32_t actual = 0;
  std::vector<double> overshoot_us, ratio;
  for (auto _ : state) {
    auto t0 = Clock::now();
    driver().write(s, 0, 100000, w, 2, &actual);
    const double ours = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    t0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    const double bare = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    overshoot_us.push_back(ours - wait * 1000.0);
    ratio.push_back(ours / bare);
  }
  driver().close(s);
  state.counters["overshoot_median_us"] = median(overshoot_us);
  std::sort(overshoot_us.begin(), overshoot_us.end());
  state.counters["overshoot_p99_us"] =
      overshoot_us[std::min(overshoot_us.size() - 1, overshoot_us.size() * 99 / 100)];
  state.counters["ratio"] = median(ratio);
}
BENCHMARK(BM_WaitAgainstSleep)->Arg(1)->Iterations(300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaitAgainstSleep)->Arg(10)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaitAgainstSleep)->Arg(100)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
