// The scripted query round trip through the real driver and the C entries,
// beside the recorded one in the same run: a regex stimulus, ExecuteWrite
// storing a value, and a getter whose ExecuteRead formats it, each on the
// driver's one script worker.
#include <benchmark/benchmark.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#endif
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
  f->path = "/tmp/bench_scripted_" + std::to_string(getpid()) + "_" + name + ".xml";
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

}  // namespace

BENCHMARK_MAIN();
