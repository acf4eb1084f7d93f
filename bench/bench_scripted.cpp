// The scripted query round trip through the real driver and the C entries,
// beside the recorded one in the same run: a regex stimulus, ExecuteWrite
// storing a value, and a getter whose ExecuteRead formats it, each on the
// driver's one script worker.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "bench_recordings.h"
#include "bench_round_trip.h"

namespace {

using bench::driver;
using bench::hex;
using bench::open_session;
using bench::RecordingFile;
using bench::write_recording;

BENCHMARK(bench::query_round_trip)->Name("BM_QueryRoundTrip")->Arg(10)->Arg(10000);

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
