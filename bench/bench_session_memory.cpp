// What sessions keep, in a process of its own so that nothing else has
// grown it: for the 10,000-pair recording the resident size after the
// first open, against the file's size, after 16 opens, and what each close
// costs; for a 50 MB recorded waveform the same after one open. Resident
// sizes are the kernel's (VmRSS).
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "bench_recordings.h"

namespace {

using namespace bench;

double resident_mb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
  return -1.0;
}

double thread_cpu_ms() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) * 1e-6;
}

double file_mb(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  return static_cast<double>(in.tellg()) / (1024.0 * 1024.0);
}

// Each session is used before it is closed: a query builds its lookup.
bool query(VarnelSession s) {
  const std::string q = ":MEAS9999?\n";
  std::uint32_t actual = 0;
  std::uint8_t buffer[64];
  std::int32_t stop = 0;
  driver().write(s, 0, 0, reinterpret_cast<const std::uint8_t*>(q.data()),
                 static_cast<std::uint32_t>(q.size()), &actual);
  return driver().read(s, 0, 0, '\n', buffer, sizeof buffer, &actual, &stop) == 0 && actual > 0;
}

void BM_SixteenSessions(benchmark::State& state) {
  static auto file = recorded_session();
  const double size_mb = file_mb(file->path);
  for (auto _ : state) {
    // The worker and the schema exist before the baseline is taken.
    static auto small = query_recording(10);
    if (VarnelSession warm = open_session(small->path)) driver().close(warm);
    const double base = resident_mb();
    std::vector<VarnelSession> sessions;
    double first = 0;
    for (int i = 0; i < 16; ++i) {
      VarnelSession s = open_session(file->path);
      if (!s || !query(s)) {
        state.SkipWithError("open or query failed");
        return;
      }
      sessions.push_back(s);
      if (i == 0) first = resident_mb() - base;
    }
    const double all = resident_mb();
    std::vector<double> close_cpu, close_wall;
    for (VarnelSession s : sessions) {
      const double cpu = thread_cpu_ms();
      const auto wall = std::chrono::steady_clock::now();
      driver().close(s);
      close_cpu.push_back(thread_cpu_ms() - cpu);
      close_wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall).count());
    }
    std::sort(close_cpu.begin(), close_cpu.end());
    std::sort(close_wall.begin(), close_wall.end());
    state.counters["file_mb"] = size_mb;
    state.counters["first_session_mb"] = first;
    state.counters["first_per_file"] = first / size_mb;
    state.counters["process_16_mb"] = all;
    state.counters["close_cpu_median_ms"] = close_cpu[close_cpu.size() / 2];
    state.counters["close_cpu_max_ms"] = close_cpu.back();
    state.counters["close_wall_max_ms"] = close_wall.back();
  }
}
BENCHMARK(BM_SixteenSessions)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LargeResponseSession(benchmark::State& state) {
  static auto file = [] {
    std::string block(50'000'000, '\0');
    std::uint32_t x = 12345;
    for (char& c : block) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    return write_recording("50mb", pair_xml("CURV?\n", block, 0));
  }();
  const double size_mb = file_mb(file->path);
  for (auto _ : state) {
    const double base = resident_mb();
    VarnelSession s = open_session(file->path);
    if (!s) {
      state.SkipWithError("open failed");
      return;
    }
    const double kept = resident_mb() - base;
    const double cpu = thread_cpu_ms();
    driver().close(s);
    state.counters["file_mb"] = size_mb;
    state.counters["session_mb"] = kept;
    state.counters["session_per_file"] = kept / size_mb;
    state.counters["close_cpu_ms"] = thread_cpu_ms() - cpu;
  }
}
BENCHMARK(BM_LargeResponseSession)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
