// srplay run explains what did not match: status names, the nearest
// recorded stimuli of an unmatched write, --strict and the coverage of the
// played stream, all through the real driver and its trace.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/os/environment.h"
#include "playfile/RecordingText.h"
#include "srplay_process.h"

namespace srplay_test {
namespace {

namespace rec = tap::recording;

// Where `needle` stands in `text`, counting lines from 1.
int line_of(const std::string& text, const std::string& needle) {
  const auto at = text.find(needle);
  EXPECT_NE(at, std::string::npos) << needle;
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
    out.push_back(text.substr(start, nl - start));
  return out;
}

std::string quoted_hex(const std::string& bytes) { return rec::hex(bytes); }

// Stimuli that differ from the writes below in one way each.
const std::string kNearMisses = rec::file(rec::stream(
    rec::address("gpib", "22"),
    rec::pair("*IDN?\n", {rec::response("ACME\n")}) + rec::pair("SYST:ERR?", {}) +
        rec::pair("CONF\n", {}, 0, "1.5",
                  "returnValue=\"0\" actualWritten=\"5\" readWriteFlags=\"1\" ignoreFlags=\"0\"") +
        rec::pair("*RST\n", {}) +
        rec::script_pair("^MEAS:VOLT\\?$", "PlaybackEngine.WriteReturnValue = 0") +
        rec::script_pair("^MEAS:CURR", "PlaybackEngine.WriteReturnValue = 0", {},
                         "readWriteFlags=\"1\" ignoreFlags=\"0\"")));

struct NearMiss {
  const char* name;
  const char* commands;          // as srplay run takes them
  std::string stimulus;          // the recorded stimulus expected nearest
  std::size_t pair;
  const char* differences;       // the JSON list
  const char* detail;
};

class NearestStimulus : public testing::TestWithParam<NearMiss> {};

TEST_P(NearestStimulus, ComesFirstWithWhatDiffers) {
  const NearMiss& c = GetParam();
  ScratchDir dir;
  const std::string file = dir.write("rec.xml", kNearMisses);
  Output run = srplay("run " + file + " --json " + c.commands, dir);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const std::vector<std::string> out = lines(run.out);
  const auto write = std::find_if(out.begin(), out.end(), [](const std::string& l) {
    return l.find("{\"call\":\"write\",\"status\":15,") == 0;
  });
  ASSERT_NE(write, out.end()) << run.out;
  EXPECT_NE(write->find("\"status_name\":\"unknown_stimulus\",\"answer\":\"default\""), std::string::npos) << *write;
  const std::string first = "\"nearest\":[{\"pair\":" + std::to_string(c.pair) +
                            ",\"line\":" + std::to_string(line_of(kNearMisses, quoted_hex(c.stimulus))) +
                            ",\"stimulus\":\"";
  EXPECT_NE(write->find(first), std::string::npos) << *write;
  const std::size_t differences = write->find("\"differences\":", write->find("\"nearest\""));
  const std::string expected =
      std::string("\"differences\":") + c.differences + ",\"detail\":\"" + c.detail + "\"}";
  EXPECT_EQ(write->find(expected, differences), differences)
      << *write;
  // Always three exact stimuli, then the scripted ones: a pattern that did
  // not match, and one whose flags already differ.
  EXPECT_NE(write->find("\"scripted\":[{\"pair\":4,\"line\":" +
                        std::to_string(line_of(kNearMisses, "^MEAS:VOLT")) +
                        ",\"pattern\":\"^MEAS:VOLT\\\\?$\",\"ignore_case\":false,"
                        "\"differences\":[\"pattern\"],\"detail\":\"the pattern did not match\"},"
                        "{\"pair\":5,"),
            std::string::npos)
      << *write;
  EXPECT_NE(write->find("\"differences\":[\"flags\"],\"detail\":\"flags 0x"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, NearestStimulus,
    testing::Values(
        NearMiss{"case", "'write *idn?\\n'", "*IDN?\n", 0, "[\"case\"]", "case only"},
        NearMiss{"missing_terminator", "'write *IDN?'", "*IDN?\n", 0, "[\"terminator\"]",
                 "terminator: the write lacks the recorded \\\"\\\\n\\\""},
        NearMiss{"other_terminator", "'write *IDN?\\r\\n'", "*IDN?\n", 0, "[\"terminator\"]",
                 "terminator: the write ends with \\\"\\\\r\\\\n\\\" where the recording has \\\"\\\\n\\\""},
        NearMiss{"extra_terminator", "'write SYST:ERR?\\n'", "SYST:ERR?", 1, "[\"terminator\"]",
                 "terminator: the write ends with \\\"\\\\n\\\", which the recording does not have"},
        NearMiss{"case_and_terminator", "'write *idn?'", "*IDN?\n", 0, "[\"case\",\"terminator\"]",
                 "case; terminator: the write lacks the recorded \\\"\\\\n\\\""},
        NearMiss{"flags", "'flags 0x10' 'write CONF\\n'", "CONF\n", 2, "[\"flags\"]",
                 "flags 0x10 where the recording has 0x1 (compared under 0xFFFFF88D, they differ in 0x1)"},
        NearMiss{"edits", "'write *RTS\\n'", "*RST\n", 3, "[\"edits\"]", "edit distance 2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunDiagnostics, LongWritesAreMeasuredExactlyUpToTheLimit) {
  std::string recorded;
  for (int i = 0; i < 15; ++i) recorded += "abcdefghij";
  // A replacement, a deletion and an insertion, far enough apart that the
  // comparison runs past its band's width.
  std::string written = recorded;
  written[20] = 'X';
  written.erase(75, 1);
  written.insert(129, "Y");
  const std::string distant(150, 'z');
  const std::string xml = rec::file(
      rec::stream(rec::address("gpib", "22"), rec::pair(recorded, {}) + rec::pair(distant, {})));
  ScratchDir dir;
  Output run = srplay("run " + dir.write("rec.xml", xml) + " --json 'write " + written + "'", dir);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("\"nearest\":[{\"pair\":0,\"line\":" + std::to_string(line_of(xml, rec::hex(recorded))) +
                         ",\"stimulus\":\"" + recorded.substr(0, 96) +
                         "\",\"distance\":3,\"differences\":[\"edits\"],\"detail\":\"edit distance 3\"}"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("{\"pair\":1,\"line\":" + std::to_string(line_of(xml, rec::hex(distant))) +
                         ",\"stimulus\":\"" + distant.substr(0, 96) +
                         "\",\"differences\":[\"edits\"],\"detail\":\"more than 64 edits apart\"}"),
            std::string::npos)
      << run.out;
}

TEST(RunDiagnostics, TextShowsStatusNamesAnswersAndNearestStimuli) {
  ScratchDir dir;
  const std::string file = dir.write("rec.xml", kNearMisses);
  Output run = srplay("run " + file + " 'query *IDN?\\n' 'write *idn?\\n'", dir);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const std::string idn = std::to_string(line_of(kNearMisses, quoted_hex("*IDN?\n")));
  EXPECT_NE(run.out.find("open   status 0 (ok)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"*IDN?\\n\"  <- pair 0 line " + idn + "\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"ACME\\n\"  <- pair 0 line " + idn + " response 0\n"), std::string::npos);
  EXPECT_NE(run.out.find("write  status 15 (unknown_stimulus) count 0"), std::string::npos);
  EXPECT_NE(run.out.find("  no recorded stimulus matched; nearest:\n"
                         "    line " + idn + " (pair 0): \"*IDN?\\n\": case only\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find(" (pair 4): scripted /^MEAS:VOLT\\?$/: the pattern did not match\n"),
            std::string::npos);
}

struct StrictCase {
  const char* name;
  const char* commands;
  bool strict;
  int exit_code;
};

class StrictRun : public testing::TestWithParam<StrictCase> {};

TEST_P(StrictRun, ExitsAfterPlayingEverything) {
  const StrictCase& c = GetParam();
  ScratchDir dir;
  const std::string file = dir.write(
      "rec.xml", rec::file(rec::stream(rec::address("gpib", "22"),
                                       rec::pair("*IDN?\n", {rec::response("ACME\n")}) +
                                           rec::docommand("3", "", {rec::docommand_response("")}))));
  Output run = srplay("run " + file + (c.strict ? " --strict " : " ") + c.commands + " 'query *IDN?\\n'", dir);
  EXPECT_EQ(run.exit_code, c.exit_code) << run.out << run.err;
  // The query after the miss was still played, and the session closed.
  EXPECT_NE(run.out.find("\"ACME\\n\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("close  status 0"), std::string::npos) << run.out;
  EXPECT_EQ(run.err.find("--strict") != std::string::npos, c.exit_code == 3) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrictRun,
    testing::Values(StrictCase{"all_answered", "'docmd 3 00'", true, 0},
                    StrictCase{"unmatched_write", "'write *idn?\\n'", true, 3},
                    StrictCase{"unmatched_write_not_strict", "'write *idn?\\n'", false, 0},
                    StrictCase{"read_without_write", "'read'", true, 3},
                    StrictCase{"unknown_docmd", "'docmd 7 00'", true, 3},
                    StrictCase{"bad_command_wins", "'write *idn?\\n' 'bogus'", true, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// Two uses of pair 0, one of DoCommand entry 0; the rest never answer.
const std::string kCoverage = rec::file(rec::stream(
    rec::address("gpib", "22"),
    rec::pair("*IDN?\n", {rec::response("ACME\n")}) + rec::pair("*RST\n", {}) +
        rec::docommand("3", "", {rec::docommand_response("")}) +
        rec::pair("OLD\n", {}, 0, "2.0") + rec::docommand("4", "", {rec::docommand_response("")})));
const char* const kCoverageCommands = " 'query *IDN?\\n' 'write *IDN?\\n' 'docmd 3 00' 'write nope\\n'";

TEST(RunCoverage, TextListsUsedEntriesThenTheOthersWithTheirLines) {
  ScratchDir dir;
  Output run = srplay("run " + dir.write("rec.xml", kCoverage) + kCoverageCommands, dir);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  auto line = [](const std::string& needle) { return std::to_string(line_of(kCoverage, needle)); };
  const std::string expected =
      "coverage: 1 of 3 pair(s) and 1 of 2 DoCommand entries answered\n"
      "  pair 0 line " + line(quoted_hex("*IDN?\n")) + ": 2 write(s)\n"
      "  pair 1 line " + line(quoted_hex("*RST\n")) + ": never used\n"
      "  pair 2 line " + line(quoted_hex("OLD\n")) + ": never used (it never matches; see srplay check)\n"
      "  docmd 0 line " + line("command=\"3\"") + ": 1 call(s)\n"
      "  docmd 1 line " + line("command=\"4\"") + ": never used\n"
      "1 call(s) got the default answer, 1 of them write(s)\n";
  ASSERT_GE(run.out.size(), expected.size());
  EXPECT_EQ(run.out.substr(run.out.size() - expected.size()), expected) << run.out;
}

TEST(RunCoverage, JsonEndsWithOneCoverageObject) {
  ScratchDir dir;
  Output run = srplay("run " + dir.write("rec.xml", kCoverage) + " --json" + kCoverageCommands, dir);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  auto line = [](const std::string& needle) { return std::to_string(line_of(kCoverage, needle)); };
  const std::vector<std::string> out = lines(run.out);
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out.back(),
            "{\"coverage\":{\"pairs\":{\"total\":3,\"used\":1,\"entries\":["
            "{\"index\":0,\"line\":" + line(quoted_hex("*IDN?\n")) + ",\"name\":\"\",\"uses\":2},"
            "{\"index\":1,\"line\":" + line(quoted_hex("*RST\n")) + ",\"name\":\"\",\"uses\":0},"
            "{\"index\":2,\"line\":" + line(quoted_hex("OLD\n")) + ",\"name\":\"\",\"uses\":0,\"unusable\":true}]},"
            "\"docommands\":{\"total\":2,\"used\":1,\"entries\":["
            "{\"index\":0,\"line\":" + line("command=\"3\"") + ",\"name\":\"\",\"uses\":1},"
            "{\"index\":1,\"line\":" + line("command=\"4\"") + ",\"name\":\"\",\"uses\":0}]}},"
            "\"default_answers\":1,\"unmatched_writes\":1}");
  EXPECT_NE(run.out.find("\"answer\":{\"docommand\":0,\"line\":" + line("command=\"3\"") + ",\"response\":0}"),
            std::string::npos);
}

TEST(RunCoverage, AUsersOwnTraceGetsTheRunAndStillServesTheCoverage) {
  ScratchDir dir;
  const std::string trace = dir.write("mine.log", "kept\n");
  tap::os::set_environment_variable("TAPLAYBACK_TRACE", trace);
  Output run = srplay("run " + dir.write("rec.xml", kCoverage) + kCoverageCommands, dir);
  tap::os::set_environment_variable("TAPLAYBACK_TRACE", "");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("coverage: 1 of 3 pair(s)"), std::string::npos) << run.out;
  const std::vector<std::string> traced = lines(read_file(trace));
  // kept, open, 2 writes and a read for the query, write, docmd, write, close
  ASSERT_EQ(traced.size(), 8u);
  EXPECT_EQ(traced[0], "kept");
  EXPECT_NE(traced[7].find(" close -> status=0(ok)"), std::string::npos) << traced[7];
}

TEST(RunCoverage, WithoutATraceToReadBackStrictFallsBackOnTheDefaultStatuses) {
  ScratchDir dir;
  // The driver writes there, but srplay cannot read it back.
#ifdef _WIN32
  tap::os::set_environment_variable("TAPLAYBACK_TRACE", "NUL");
#else
  tap::os::set_environment_variable("TAPLAYBACK_TRACE", "/dev/null");
#endif
  Output run = srplay("run " + dir.write("rec.xml", kCoverage) + " --strict --json" + kCoverageCommands, dir);
  tap::os::set_environment_variable("TAPLAYBACK_TRACE", "");
  EXPECT_EQ(run.exit_code, 3) << run.err;
  const std::vector<std::string> out = lines(run.out);
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out.back(), "{\"coverage\":null,\"default_answers\":1,\"unmatched_writes\":1}");
  EXPECT_EQ(run.out.find("\"answer\""), std::string::npos) << run.out;
}

}  // namespace
}  // namespace srplay_test
