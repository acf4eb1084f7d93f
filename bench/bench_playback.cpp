// Playback through the real driver and the C entries: a short query's round
// trip, the open of large recordings beside `xmllint --noout` on the same
// file, and how far the emulated wait overshoots.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "host/DriverHost.h"
#include "host/ProcessRegion.h"

namespace {

using tap::host::DriverHost;
using tap::host::OpenArgs;
using tap::host::ProcessRegion;
using Clock = std::chrono::steady_clock;

ProcessRegion& region() {
  static ProcessRegion r;
  return r;
}

const DriverHost& driver() {
  static DriverHost d(TAP_DRIVER_PATH);
  return d;
}

std::string hex(const std::string& bytes) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

std::string pair_xml(const std::string& stimulus, const std::string& response, int write_wait) {
  return "<IOStimulusResponse version=\"1.5\"><Stimulus stimulusType=\"exactString\" "
         "returnValue=\"0\" readWriteFlags=\"0\" actualWritten=\"" +
         std::to_string(stimulus.size()) + "\" waitTime=\"" + std::to_string(write_wait) +
         "\"><ExactString>" + hex(stimulus) +
         "</ExactString></Stimulus><Response responseType=\"exactString\" returnValue=\"0\" "
         "stopReason=\"2\" waitTime=\"0\"><ExactString>" +
         hex(response) + "</ExactString></Response></IOStimulusResponse>\n";
}

// A recording of `pairs` queries "Q<i>?\n" at GPIB 22, written to a file
// that lives as long as the returned object.
struct RecordingFile {
  std::string path;
  ~RecordingFile() { std::remove(path.c_str()); }
};

std::unique_ptr<RecordingFile> write_recording(const std::string& name, const std::string& body) {
  auto f = std::make_unique<RecordingFile>();
  f->path = "/tmp/bench_playback_" + std::to_string(getpid()) + "_" + name + ".xml";
  std::ofstream out(f->path, std::ios::binary);
  out << "<?xml version=\"1.0\"?>\n<IORecordStreamFile "
         "xmlns=\"urn:Tarvena/Lantorix/StimulusResponseFile/1.0\" version=\"1.0\">"
         "<IORecordStream returnValue=\"0\"><InstrumentAddress intfaddr=\"gpib\" prim=\"22\" "
         "sec=\"-1\" devprot=\"0\" bracket=\"\" colon=\"\"/>\n"
      << body << "</IORecordStream></IORecordStreamFile>\n";
  return f;
}

std::unique_ptr<RecordingFile> query_recording(int pairs) {
  std::string body;
  for (int i = 0; i < pairs; ++i)
    body += pair_xml("Q" + std::to_string(i) + "?\n", "+" + std::to_string(i) + ".0E+00\n", 0);
  return write_recording("q" + std::to_string(pairs), body);
}

VarnelSession open_session(const std::string& path) {
  region().set_playback_path(path);
  region().set_next_stream_index(0);
  VarnelSession s = nullptr;
  if (driver().open(OpenArgs{}, &s) != 0) return nullptr;
  return s;
}

void BM_QueryRoundTrip(benchmark::State& state) {
  const int pairs = static_cast<int>(state.range(0));
  auto file = query_recording(pairs);
  VarnelSession s = open_session(file->path);
  if (!s) {
    state.SkipWithError("open failed");
    return;
  }
  // The matching pair is the last one of the stream.
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
BENCHMARK(BM_QueryRoundTrip)->Arg(10)->Arg(10000);

// Times xmllint on the file once per iteration, so both figures come from
// the same run on the same file. --huge lifts xmllint's 10 MB text limit,
// which the large response exceeds.
double xmllint_ms(const std::string& path) {
  const std::string cmd = "xmllint --noout --huge '" + path + "' >/dev/null 2>&1";
  auto t0 = Clock::now();
  int rc = std::system(cmd.c_str());
  double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
  return rc == 0 ? ms : -1.0;
}

void open_benchmark(benchmark::State& state, const RecordingFile& file) {
  std::vector<double> lint;
  for (auto _ : state) {
    VarnelSession s = open_session(file.path);
    if (!s) {
      state.SkipWithError("open failed");
      return;
    }
    driver().close(s);
    state.PauseTiming();
    lint.push_back(xmllint_ms(file.path));
    state.ResumeTiming();
  }
  std::sort(lint.begin(), lint.end());
  if (lint.front() < 0) state.SkipWithError("xmllint refused the file");
  state.counters["xmllint_ms"] = lint.empty() ? 0 : lint[lint.size() / 2];
}

void BM_Open10000Pairs(benchmark::State& state) {
  static auto file = query_recording(10000);
  open_benchmark(state, *file);
}
BENCHMARK(BM_Open10000Pairs)->Unit(benchmark::kMillisecond)->Iterations(10);

// The XML layer refuses text nodes above 64 MiB, so the largest binary
// response a file can carry is 32 MiB; 30 MB stays below it.
void BM_Open30MBResponse(benchmark::State& state) {
  static auto file = [] {
    std::string block(30'000'000, '\0');
    std::uint32_t x = 12345;
    for (char& c : block) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    return write_recording("30mb", pair_xml("CURV?\n", block, 0));
  }();
  open_benchmark(state, *file);
}
BENCHMARK(BM_Open30MBResponse)->Unit(benchmark::kMillisecond)->Iterations(5);

// Overshoot of a write recorded with wait W: elapsed − W, per call.
void BM_WaitOvershoot(benchmark::State& state) {
  const int wait = static_cast<int>(state.range(0));
  auto file = write_recording("wait" + std::to_string(wait), pair_xml("W\n", "", wait));
  VarnelSession s = open_session(file->path);
  if (!s) {
    state.SkipWithError("open failed");
    return;
  }
  const std::uint8_t w[] = {'W', '\n'};
  std::uint32_t actual = 0;
  std::vector<double> overshoot_us;
  for (auto _ : state) {
    auto t0 = Clock::now();
    driver().write(s, 0, 100000, w, 2, &actual);
    double us = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    overshoot_us.push_back(us - wait * 1000.0);
  }
  driver().close(s);
  std::sort(overshoot_us.begin(), overshoot_us.end());
  auto at = [&](double q) {
    return overshoot_us[std::min(overshoot_us.size() - 1,
                                 static_cast<std::size_t>(q * static_cast<double>(overshoot_us.size())))];
  };
  state.counters["median_us"] = at(0.5);
  state.counters["p99_us"] = at(0.99);
  state.counters["min_us"] = overshoot_us.front();
}
BENCHMARK(BM_WaitOvershoot)->Arg(1)->Iterations(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaitOvershoot)->Arg(10)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaitOvershoot)->Arg(100)->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
