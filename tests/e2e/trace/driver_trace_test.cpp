// The driver trace as a host sees it: TAPLAYBACK_TRACE set before the real
// driver is loaded, one line per entry call. The variable is read once per
// load, so each case loads a driver of its own: in a child process where
// there is fork, else a copy of the DLL under a new name, which Windows
// loads as a module of its own.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "host/DriverHost.h"
#include "host/ProcessRegion.h"
#include "platform/os/environment.h"
#include "platform/os/process.h"
#include "playfile/RecordingText.h"

namespace tap::e2e {
namespace {

namespace rec = recording;

class ScratchDir {
 public:
  ScratchDir() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("tap-trace-" + std::to_string(os::current_process_id()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::vector<std::string> lines_of(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Loads the driver afresh with the trace variable set to `trace` (unset
// when nullopt), plays `calls` with `workdir` as the current folder and
// returns what `calls` returned, or 99 for an exception.
int in_child_host(std::optional<std::string> trace, const std::string& recording,
                  const std::function<int(const host::DriverHost&)>& calls,
                  const std::string& workdir = "") {
  auto play = [&](const std::string& driver_path) {
    host::ProcessRegion region;
    region.set_playback_path(recording);
    region.set_interface("gpib", "instr");
    // Never unloaded: the driver's worker thread lives until the process ends.
    auto* driver = new host::DriverHost(driver_path);
    return calls(*driver);
  };
#ifdef _WIN32
  static int loads = 0;
  const std::filesystem::path copies = std::filesystem::temp_directory_path() /
      ("tap-trace-dlls-" + std::to_string(os::current_process_id()));
  std::filesystem::create_directories(copies);
  const std::filesystem::path copy = copies / ("taplayback-" + std::to_string(loads++) + ".dll");
  std::filesystem::copy_file(TAP_DRIVER_PATH, copy, std::filesystem::copy_options::overwrite_existing);
  // An empty value is the driver's "no trace", as an unset one is.
  os::set_environment_variable("TAPLAYBACK_TRACE", trace.value_or(""));
  const std::filesystem::path before = std::filesystem::current_path();
  int code = 99;
  try {
    if (!workdir.empty()) std::filesystem::current_path(workdir);
    code = play(copy.string());
  } catch (...) {
  }
  std::filesystem::current_path(before);
  os::set_environment_variable("TAPLAYBACK_TRACE", "");
  return code;
#else
  const pid_t pid = fork();
  if (pid == 0) {
    int code = 99;
    try {
      if (!workdir.empty() && chdir(workdir.c_str()) != 0) _exit(98);
      if (trace) setenv("TAPLAYBACK_TRACE", trace->c_str(), 1);
      else unsetenv("TAPLAYBACK_TRACE");
      code = play(TAP_DRIVER_PATH);
    } catch (...) {
    }
    _exit(code);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

std::int32_t write(const host::DriverHost& d, VarnelSession s, const std::string& bytes,
                   std::int32_t timeout = 2000, std::uint32_t flags = 0) {
  std::uint32_t actual = 0;
  return d.write(s, flags, timeout, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                 static_cast<std::uint32_t>(bytes.size()), &actual);
}

std::int32_t read(const host::DriverHost& d, VarnelSession s, std::uint32_t count) {
  std::string buffer(count, '\0');
  std::uint32_t actual = 0;
  std::int32_t stop = 0;
  return d.read(s, 0, 2000, '\n', reinterpret_cast<std::uint8_t*>(buffer.data()), count, &actual,
                &stop);
}

std::int32_t docmd(const host::DriverHost& d, VarnelSession s, std::uint32_t command,
                   std::string block) {
  return d.docommand(s, 0, 2000, command, static_cast<std::int32_t>(block.size()), 0,
                     reinterpret_cast<std::uint8_t*>(block.data()));
}

// Where `needle` stands in `text`, counting lines from 1.
int line_of(const std::string& text, const std::string& needle) {
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(text.find(needle)), '\n'));
}

const std::regex kPrefix(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{6}Z pid=(\d+) tid=(\d+) session=(0x[0-9a-f]+) )");

struct Traced {
  std::string pid, session, rest;
};

// Splits a line into its prefix fields and the call with its values; an
// empty `rest` when the prefix is not there.
Traced split(const std::string& line) {
  std::smatch m;
  if (!std::regex_search(line, m, kPrefix)) return {};
  return {m[1], m[3], m.suffix()};
}

TEST(DriverTrace, OneLinePerCallWithAnswerLinesStatusNamesAndWaits) {
  ScratchDir dir;
  const std::string xml = rec::file(rec::stream(
      rec::address("gpib", "22"),
      rec::pair("*IDN?\n", {rec::response("ACME,1\n")}) + rec::pair("WAIT\n", {rec::response("")}, 30) +
          rec::docommand("3", "\x01", {rec::docommand_response(std::string("\x03\x00", 2))})));
  rec::TempFile file(xml);
  const std::string trace = dir.file("trace.log");
  const int code = in_child_host(trace, file.path(), [](const host::DriverHost& d) {
    VarnelSession s = nullptr;
    if (d.open(host::OpenArgs{}, &s) != 0) return 1;
    write(d, s, "*IDN?\n");
    read(d, s, 4);
    read(d, s, 4096);
    write(d, s, "WAIT\n", 10);
    write(d, s, "*idn?\n");
    read(d, s, 16);
    docmd(d, s, 3, "\x01\x02\x07");
    docmd(d, s, 9, "\xFF");
    d.lock(s);
    d.unlock(s);
    d.unlock(s);
    d.close(s);
    write(d, nullptr, "late\n");
    return 0;
  });
  ASSERT_EQ(code, 0);

  const int idn = line_of(xml, rec::hex("*IDN?\n"));
  const int wait = line_of(xml, rec::hex("WAIT\n"));
  const int stream = line_of(xml, "<IORecordStream ");
  const int entry = line_of(xml, "<DoCommand ");
  const std::string pair0 = "answer=pair:0 line=" + std::to_string(idn);
  const std::vector<std::string> expected = {
      "open address=\"GPIB0::22::INSTR\" primary=22 secondary=4294967295 protocol=0 bracket=\"\" "
      "colon=\"\" extra=0x0 -> status=0(ok) stream_line=" + std::to_string(stream),
      "write flags=0x0 timeout=2000 in=6:\"*IDN?\\n\" -> status=0(ok) actual=6 " + pair0 +
          " response=0 wait=0ms",
      "read flags=0x0 timeout=2000 termination=0xA count=4 -> status=0(ok) actual=4 stop=1 "
      "out=4:\"ACME\" " + pair0 + " response=0 wait=0ms",
      "read flags=0x0 timeout=2000 termination=0xA count=4096 -> status=0(ok) actual=3 stop=2 "
      "out=3:\",1\\n\" " + pair0 + " response=0 wait=0ms",
      "write flags=0x0 timeout=10 in=5:\"WAIT\\n\" -> status=0(ok) actual=5 answer=pair:1 line=" +
          std::to_string(wait) + " response=0 wait=10ms(recorded 30ms)",
      "write flags=0x0 timeout=2000 in=6:\"*idn?\\n\" -> status=15(unknown_stimulus) actual=0 "
      "answer=default",
      "read flags=0x0 timeout=2000 termination=0xA count=16 -> status=15(unknown_stimulus) "
      "actual=0 stop=0 out=0:\"\" answer=default",
      "docmd flags=0x0 timeout=2000 command=0x3 size=3 extra=0 in=3:\"\\x01\\x02\\x07\" -> "
      "status=0(ok) out=3:\"\\x03\\x00\\x07\" answer=docommand:0 line=" + std::to_string(entry) +
          " response=0 wait=0ms",
      "docmd flags=0x0 timeout=2000 command=0x9 size=1 extra=0 in=1:\"\\xFF\" -> "
      "status=8(no_docommand_match) out=1:\"\\xFF\" answer=default",
      "lock -> status=0(ok) lock_count=1",
      "unlock -> status=0(ok) lock_count=0",
      "unlock -> status=12(not_locked) lock_count=0",
      "close -> status=0(ok)",
      "write flags=0x0 timeout=2000 in=5:\"late\\n\" -> status=128(internal_error)",
  };
  const std::vector<std::string> lines = lines_of(trace);
  ASSERT_EQ(lines.size(), expected.size());
  const Traced first = split(lines[0]);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Traced t = split(lines[i]);
    EXPECT_EQ(t.rest, expected[i]) << lines[i];
    EXPECT_EQ(t.pid, first.pid);
    // Every call names the session it was made on; the last had none.
    EXPECT_EQ(t.session, i + 1 < lines.size() ? first.session : "0x0") << lines[i];
  }
  EXPECT_NE(first.session, "0x0");
}

TEST(DriverTrace, LargeBlocksShowTheirStartAndFullCount) {
  ScratchDir dir;
  rec::TempFile file(rec::file(rec::stream(rec::address("gpib", "22"), "")));
  const std::string trace = dir.file("trace.log");
  ASSERT_EQ(in_child_host(trace, file.path(), [](const host::DriverHost& d) {
              VarnelSession s = nullptr;
              if (d.open(host::OpenArgs{}, &s) != 0) return 1;
              write(d, s, std::string(1000, '\n'));
              docmd(d, s, 1, std::string(500, 'x'));
              d.close(s);
              return 0;
            }),
            0);
  const std::vector<std::string> lines = lines_of(trace);
  ASSERT_EQ(lines.size(), 4u);
  std::string shown_newlines;
  for (int i = 0; i < 128; ++i) shown_newlines += "\\n";
  EXPECT_NE(lines[1].find(" in=1000:\"" + shown_newlines + "\"... -> "), std::string::npos) << lines[1];
  const std::string xs(128, 'x');
  EXPECT_NE(lines[2].find(" in=500:\"" + xs + "\"... -> "), std::string::npos) << lines[2];
  EXPECT_NE(lines[2].find(" out=500:\"" + xs + "\"... answer=default"), std::string::npos) << lines[2];
}

TEST(DriverTrace, NoFileAppearsWhenTheVariableIsUnsetOrEmpty) {
  rec::TempFile file(rec::file(rec::stream(rec::address("gpib", "22"), rec::pair("A\n", {}))));
  for (std::optional<std::string> value : {std::optional<std::string>(), std::optional<std::string>("")}) {
    ScratchDir dir;
    ASSERT_EQ(in_child_host(value, file.path(),
                            [](const host::DriverHost& d) {
                              VarnelSession s = nullptr;
                              if (d.open(host::OpenArgs{}, &s) != 0) return 1;
                              // Played as usual without the trace.
                              if (write(d, s, "A\n") != 0 || write(d, s, "B\n") != 15) return 2;
                              d.close(s);
                              return 0;
                            },
                            dir.path().string()),
              0);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << (value ? "empty" : "unset");
  }
}

TEST(DriverTrace, SessionsOnSeveralThreadsAppendWholeLinesInCallOrder) {
  ScratchDir dir;
  const std::string long_query(300, 'Q');
  rec::TempFile file(rec::file(rec::stream(
      rec::address("gpib", "22"), rec::pair(long_query, {rec::response(std::string(400, 'R'))}))));
  const std::string trace = dir.file("trace.log");
  // Opened for appending: what the file held stays in front.
  std::ofstream(trace) << "earlier line\n";
  constexpr int kThreads = 4, kRounds = 100;
  ASSERT_EQ(in_child_host(trace, file.path(),
                          [&](const host::DriverHost& d) {
                            // All open at once, so that no handle is reused.
                            std::vector<VarnelSession> sessions(kThreads);
                            for (VarnelSession& s : sessions)
                              if (d.open(host::OpenArgs{}, &s) != 0) return 1;
                            std::atomic<int> failures{0};
                            std::vector<std::thread> threads;
                            for (VarnelSession s : sessions) {
                              threads.emplace_back([&, s] {
                                for (int i = 0; i < kRounds; ++i) {
                                  failures += write(d, s, long_query) != 0;
                                  failures += read(d, s, 4096) != 0;
                                }
                              });
                            }
                            for (std::thread& t : threads) t.join();
                            for (VarnelSession s : sessions) d.close(s);
                            return failures.load() == 0 ? 0 : 2;
                          }),
            0);
  const std::vector<std::string> lines = lines_of(trace);
  ASSERT_EQ(lines.size(), 1u + kThreads * (2 + 2 * kRounds));
  EXPECT_EQ(lines[0], "earlier line");
  // Per session the calls follow each other as made: open, then write and
  // read in turn, then close; every line complete.
  std::map<std::string, std::vector<std::string>> calls;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const Traced t = split(lines[i]);
    ASSERT_FALSE(t.rest.empty()) << lines[i];
    const std::string call = t.rest.substr(0, t.rest.find(' '));
    if (call != "close") {
      EXPECT_NE(t.rest.find(call == "open" ? "status=0(ok) stream_line=" : "wait=0ms"), std::string::npos)
          << lines[i];
    }
    if (call == "read") {
      EXPECT_NE(t.rest.find("out=400:\"" + std::string(128, 'R') + "\"... answer=pair:0"), std::string::npos);
    }
    calls[t.session].push_back(call);
  }
  ASSERT_EQ(calls.size(), static_cast<std::size_t>(kThreads));
  for (const auto& [session, sequence] : calls) {
    ASSERT_EQ(sequence.size(), 2u + 2 * kRounds) << session;
    EXPECT_EQ(sequence.front(), "open");
    EXPECT_EQ(sequence.back(), "close");
    for (int i = 0; i < kRounds; ++i) {
      EXPECT_EQ(sequence[1 + 2 * i], "write");
      EXPECT_EQ(sequence[2 + 2 * i], "read");
    }
  }
}

}  // namespace
}  // namespace tap::e2e
