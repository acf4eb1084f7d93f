// Load + validate of large playback files against the embedded schema,
// beside `xmllint --noout --huge` on the same files (--huge because one
// text node is over libxml2's 10 MB default; ours lifts that cap for text).
// The machine is shared, so every figure is CPU time (user + system):
// our own for the in-process runs, the child's for xmllint, which then
// includes its start-up (about a millisecond).
#include <benchmark/benchmark.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#endif
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/os/module_resources.h"
#include "platform/xml/XmlDocument.h"

namespace {

constexpr char16_t kNs[] = u"urn:Tarvena/Lantorix/StimulusResponseFile/1.0";

std::shared_ptr<tap::xml::SchemaCache> make_cache() {
  auto cache = std::make_shared<tap::xml::SchemaCache>();
  tap::xml::Document schema;
  auto text = tap::os::find_resource("XMLSCHEMA", 101);
  if (!text || !schema.load_from_memory(*text) || !cache->add(kNs, schema)) std::abort();
  return cache;
}

std::string temp_path(const char* name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir ? dir : "/tmp") + "/bench_xml_" + std::to_string(getpid()) + "_" + name;
}

const char* kHead =
    "<?xml version='1.0' encoding='UTF-8'?>\n"
    "<IORecordStreamFile xmlns='urn:Tarvena/Lantorix/StimulusResponseFile/1.0' "
    "xmlns:dt='urn:schemas-microsoft-com:datatypes' version='1.0'>\n"
    " <IORecordStream returnValue='0'>\n"
    "  <InstrumentAddress intfaddr='gpib' prim='7' sec='0' devprot='0' bracket='' colon='INSTR'/>\n";
const char* kTail = " </IORecordStream>\n</IORecordStreamFile>\n";

std::string write_pairs_file(int pairs) {
  std::string path = temp_path("pairs.xml");
  std::ofstream out(path, std::ios::binary);
  out << kHead;
  for (int i = 0; i < pairs; ++i) {
    out << "  <IOStimulusResponse name='p" << i << "' version='1.5'>\n"
        << "   <Stimulus stimulusType='exactString' waitTime='0' returnValue='0' readWriteFlags='0' "
           "ignoreFlags='1' actualWritten='9'>\n"
        << "    <ExactString dt:dt='bin.hex'>3a4d4541533f" << std::hex << 0x313030 + (i % 256) << std::dec
        << "</ExactString>\n   </Stimulus>\n"
        << "   <Response responseType='exactString' waitTime='1' returnValue='0' stopReason='4'>\n"
        << "    <ExactString dt:dt='bin.hex'>2b312e323334353637383930452b30300a</ExactString>\n"
        << "   </Response>\n  </IOStimulusResponse>\n";
  }
  out << kTail;
  return path;
}

std::string write_binhex_file(std::size_t hex_bytes) {
  std::string path = temp_path("binhex.xml");
  std::ofstream out(path, std::ios::binary);
  out << kHead
      << "  <IOStimulusResponse version='1.5'>\n"
         "   <Stimulus stimulusType='exactString' returnValue='0' readWriteFlags='0' actualWritten='1'>"
         "<ExactString>00</ExactString></Stimulus>\n"
         "   <Response responseType='exactString' returnValue='0' stopReason='4'><ExactString>";
  std::string chunk;
  for (int i = 0; i < 65536; ++i) chunk += "0123456789abcdef"[i % 16];
  for (std::size_t done = 0; done < hex_bytes; done += chunk.size()) {
    out.write(chunk.data(), static_cast<std::streamsize>(std::min(chunk.size(), hex_bytes - done)));
  }
  out << "</ExactString></Response>\n  </IOStimulusResponse>\n" << kTail;
  return path;
}

struct Files {
  std::string pairs = write_pairs_file(10000);
  std::string binhex = write_binhex_file(std::size_t{50} << 20);
  ~Files() {
    std::remove(pairs.c_str());
    std::remove(binhex.c_str());
  }
};

const Files& files() {
  static Files f;
  return f;
}

double cpu_seconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

const std::string& path_of(int which) { return which == 0 ? files().pairs : files().binhex; }
const char* label_of(int which) { return which == 0 ? "10000 pairs" : "50 MB bin.hex"; }

void BM_LoadOnly(benchmark::State& state) {
  const std::string& path = path_of(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    double start = cpu_seconds();
    {
      tap::xml::Document doc;
      if (!doc.load_from_file(path)) state.SkipWithError("file did not load");
    }
    state.SetIterationTime(cpu_seconds() - start);
  }
  state.SetLabel(label_of(static_cast<int>(state.range(0))));
}

// Schema text to cache, as the process does once.
void BM_SchemaCompile(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(make_cache());
}

// xmllint's CPU time on `path`, or a negative value when it failed.
#ifdef _WIN32
double xmllint_seconds(const std::string&) { return -1.0; }  // none to run
#else
double xmllint_seconds(const std::string& path) {
  pid_t pid = fork();
  if (pid == 0) {
    execlp("xmllint", "xmllint", "--noout", "--huge", path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return -1.0;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1.0;
  auto seconds = [](const timeval& tv) { return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}
#endif

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

// Load, validate and free, with xmllint on the same file in turn; "ratio"
// is the median of ours over xmllint's per iteration.
void BM_LoadValidate(benchmark::State& state) {
  const std::string& path = path_of(static_cast<int>(state.range(0)));
  auto cache = make_cache();
  std::vector<double> ratio;
  for (auto _ : state) {
    double start = cpu_seconds();
    {
      tap::xml::Document doc;
      doc.set_schemas(cache);
      if (!doc.load_from_file(path) || !doc.validate()) state.SkipWithError("file did not load and validate");
    }
    const double ours = cpu_seconds() - start;
    state.SetIterationTime(ours);
    const double reference = xmllint_seconds(path);
    if (reference <= 0) {
      state.SkipWithError("xmllint failed");
      return;
    }
    ratio.push_back(ours / reference);
  }
  state.counters["ratio"] = median(ratio);
  state.SetLabel(label_of(static_cast<int>(state.range(0))));
}

void BM_XmllintNoout(benchmark::State& state) {
  const std::string& path = path_of(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const double seconds = xmllint_seconds(path);
    if (seconds < 0) state.SkipWithError("xmllint failed");
    state.SetIterationTime(std::max(seconds, 0.0));
  }
  state.SetLabel(label_of(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_SchemaCompile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_LoadValidate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_XmllintNoout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
