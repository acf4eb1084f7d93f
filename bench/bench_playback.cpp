// Playback through the real driver and the C entries: a short query's round
// trip, recorded and scripted, the open of large recordings beside
// `xmllint --noout --huge` on the same file, and how far the emulated wait
// overshoots.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
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

std::string attribute(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '"') out += "&quot;";
    else if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '\n') out += "&#10;";
    else out.push_back(c);
  }
  return out;
}

std::string script_pair_xml(const std::string& pattern, const std::string& script,
                            const std::string& read_script) {
  std::string out = "<IOStimulusResponse version=\"1.5\"><Stimulus stimulusType=\"vbscript\" "
                    "readWriteFlags=\"0\" ignoreCase=\"1\" patternString=\"" +
                    attribute(pattern) + "\" scriptString=\"" + attribute(script) + "\"/>";
  if (!read_script.empty())
    out += "<Response responseType=\"vbscript\" returnValue=\"0\" stopReason=\"2\"><ExactString>" +
           hex(read_script) + "</ExactString></Response>";
  return out + "</IOStimulusResponse>\n";
}

// A power supply's voltage setting: "VOLT <n>" stores the captured number,
// "VOLT?" counts the query in the store and its read script formats the
// setting. Each scripted query is a match and a script run for the write
// and a script run for the read, all on the driver's one script worker.
std::unique_ptr<RecordingFile> scripted_recording() {
  return write_recording(
      "scripted",
      script_pair_xml("^VOLT\\s+([+-]?\\d+(?:\\.\\d*)?)\\s*$",
                      "PlaybackEngine.StoreValue \"volt\", CDbl(PlaybackEngine.WriteRegExpMatches(1))",
                      "") +
          script_pair_xml("^VOLT\\?\\s*$",
                          "PlaybackEngine.StoreValue \"queries\", PlaybackEngine.GetValue(\"queries\") + 1",
                          "PlaybackEngine.ReadText = FormatNumber(PlaybackEngine.GetValue(\"volt\"), 3, -1, 0, 0) & vbLf\n"
                          "PlaybackEngine.ReadStopReason = 2\n"
                          "PlaybackEngine.ReadReturnValue = 0"));
}

void BM_ScriptedSetting(benchmark::State& state) {
  auto file = scripted_recording();
  VarnelSession s = open_session(file->path);
  if (!s) {
    state.SkipWithError("open failed");
    return;
  }
  const std::string set = "VOLT 12.5\n";
  std::uint32_t actual = 0;
  std::int32_t status = 0;
  for (auto _ : state)
    status = driver().write(s, 0, 0, reinterpret_cast<const std::uint8_t*>(set.data()),
                            static_cast<std::uint32_t>(set.size()), &actual);
  if (status != 0 || actual != set.size()) state.SkipWithError("the setting was not matched");
  driver().close(s);
}
BENCHMARK(BM_ScriptedSetting);

void BM_ScriptedQueryRoundTrip(benchmark::State& state) {
  auto file = scripted_recording();
  VarnelSession s = open_session(file->path);
  if (!s) {
    state.SkipWithError("open failed");
    return;
  }
  const std::string set = "VOLT 12.5\n";
  const std::string query = "VOLT?\n";
  std::uint32_t actual = 0;
  std::int32_t stop = 0;
  driver().write(s, 0, 0, reinterpret_cast<const std::uint8_t*>(set.data()),
                 static_cast<std::uint32_t>(set.size()), &actual);
  char buffer[64];
  for (auto _ : state) {
    driver().write(s, 0, 0, reinterpret_cast<const std::uint8_t*>(query.data()),
                   static_cast<std::uint32_t>(query.size()), &actual);
    driver().read(s, 0, 0, '\n', reinterpret_cast<std::uint8_t*>(buffer), sizeof buffer, &actual,
                  &stop);
    benchmark::DoNotOptimize(buffer);
  }
  if (std::string(buffer, std::min<std::size_t>(actual, sizeof buffer)) != "12.500\n")
    state.SkipWithError("the query was not answered");
  driver().close(s);
}
BENCHMARK(BM_ScriptedQueryRoundTrip);

// CPU time (user + system), as the machine is shared: the whole process's
// for an open, since the load runs on the driver's worker thread, and the
// child's for xmllint. Both come from the same run on the same file.
// --huge lifts xmllint's 10 MB text limit, which the large response
// exceeds.
double process_cpu_ms() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) * 1e-6;
}

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

void open_benchmark(benchmark::State& state, const RecordingFile& file) {
  std::vector<double> lint;
  for (auto _ : state) {
    double start = process_cpu_ms();
    VarnelSession s = open_session(file.path);
    if (!s) {
      state.SkipWithError("open failed");
      return;
    }
    driver().close(s);
    state.SetIterationTime((process_cpu_ms() - start) * 1e-3);
    lint.push_back(xmllint_cpu_ms(file.path));
  }
  std::sort(lint.begin(), lint.end());
  if (lint.empty() || lint.front() < 0) {
    state.SkipWithError("xmllint refused the file");
    return;
  }
  state.counters["xmllint_cpu_ms"] = lint[lint.size() / 2];
}

void BM_Open10000Pairs(benchmark::State& state) {
  static auto file = query_recording(10000);
  open_benchmark(state, *file);
}
BENCHMARK(BM_Open10000Pairs)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

// One response of `range(0)` MB of random bytes, twice that in bin.hex. A
// recorded 50 MB waveform is the case to serve; 30 MB is the largest that
// loaded while text nodes were capped at 64 MiB.
void BM_OpenLargeResponse(benchmark::State& state) {
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
BENCHMARK(BM_OpenLargeResponse)->Arg(30)->Arg(50)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

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
