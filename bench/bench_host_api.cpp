// The C host API's round trip for a short query: a write that matches the
// recording's only pair and one read of the whole answer, through
// libtaphost.so as another language's host calls it.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>

#include "bench_recordings.h"
#include "taplayback/host.h"

namespace {

std::unique_ptr<bench::RecordingFile> idn_recording() {
  auto file = std::make_unique<bench::RecordingFile>();
  file->path = "/tmp/bench_host_api_" + std::to_string(getpid()) + ".xml";
  std::ofstream(file->path)
      << "<?xml version=\"1.0\"?>\n<IORecordStreamFile "
         "xmlns=\"urn:Tarvena/Lantorix/StimulusResponseFile/1.0\" version=\"1.0\">"
         "<IORecordStream returnValue=\"0\"><InstrumentAddress intfaddr=\"gpib\" prim=\"22\" "
         "sec=\"-1\" devprot=\"0\" bracket=\"\" colon=\"\"/>"
      << bench::pair_xml("*IDN?\n", "ACME,MODEL-1,0,1.0\n", 0)
      << "</IORecordStream></IORecordStreamFile>\n";
  return file;
}

void BM_CApiQuery(benchmark::State& state) {
  auto file = idn_recording();
  taphost* host = nullptr;
  taphost_session* session = nullptr;
  if (taphost_create(TAP_DRIVER_PATH, &host, nullptr, 0) != 0 ||
      taphost_open_resource(host, file->path.c_str(), "GPIB0::22::INSTR", &session) != 0) {
    state.SkipWithError(taphost_last_error(host));
    taphost_free(host);
    return;
  }
  static const std::uint8_t query[] = {'*', 'I', 'D', 'N', '?', '\n'};
  std::uint8_t buffer[256];
  std::uint32_t actual = 0;
  std::int32_t stop = 0;
  if (taphost_write(session, query, sizeof query, &actual) != 0 ||
      taphost_read(session, buffer, sizeof buffer, &actual, &stop) != 0 || stop != 2) {
    state.SkipWithError("the recorded query is not answered");
    taphost_free(host);
    return;
  }
  for (auto _ : state) {
    std::int32_t status = taphost_write(session, query, sizeof query, &actual);
    status |= taphost_read(session, buffer, sizeof buffer, &actual, &stop);
    benchmark::DoNotOptimize(status);
    benchmark::DoNotOptimize(buffer);
  }
  state.counters["queries_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  taphost_free(host);
}
BENCHMARK(BM_CApiQuery)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
