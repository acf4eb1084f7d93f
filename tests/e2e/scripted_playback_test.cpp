// Scripted stimuli and responses as a host meets them: which writes they
// match, what writes and reads report, and how a failing script ends.
#include "e2e/scripted_fixture.h"
#include "support/case_name.h"

namespace tap::e2e {
namespace {

namespace rec = recording;

// Counts its runs in the value store and returns the count from the write.
const std::string kCountRuns =
    "n = PlaybackEngine.GetValue(\"runs\")\n"
    "If IsNull(n) Then n = 0\n"
    "PlaybackEngine.StoreValue \"runs\", n + 1\n"
    "PlaybackEngine.WriteReturnValue = n + 1";

// Runs about 20 s unless the script host ends it; a missed time-out shows
// as a slow test that fails rather than one that hangs.
const std::string kSpin =
    "t = Timer\n"
    "Do While Abs(Timer - t) < 20\n"
    "Loop";

struct MatchCase {
  const char* name;
  std::string pattern;
  std::string stimulus_attrs;
  std::string written;
  std::uint32_t flags;
  bool matches;
};

class ScriptedMatch : public ScriptedPlaybackTest, public testing::WithParamInterface<MatchCase> {};

TEST_P(ScriptedMatch, DecidesWhetherTheScriptRuns) {
  const MatchCase& c = GetParam();
  open_scripted(rec::script_pair(c.pattern, kCountRuns, {}, c.stimulus_attrs));
  Result w = write(c.written, 2000, c.flags);
  if (c.matches) {
    EXPECT_EQ(w.status, 1);
    EXPECT_EQ(w.actual, c.written.size());
    EXPECT_EQ(stored("runs"), "Integer=1");
  } else {
    EXPECT_EQ(w.status, 15);
    EXPECT_EQ(w.actual, 0u);
    EXPECT_EQ(stored("runs"), "Null=");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScriptedMatch,
    testing::Values(
        MatchCase{"match_in_the_middle", "VOLT \\d", "", "SOUR:VOLT 5;OUTP ON\n", 0, true},
        MatchCase{"anchored_pattern_misses", "^VOLT", "", "SOUR:VOLT 5\n", 0, false},
        MatchCase{"empty_pattern_matches_anything", "", "", "ANY\n", 0, true},
        MatchCase{"ignore_case_true", "meas\\?", "ignoreCase=\"1\"", "MEAS?\n", 0, true},
        MatchCase{"ignore_case_false", "meas\\?", "ignoreCase=\"0\"", "MEAS?\n", 0, false},
        MatchCase{"bytes_after_a_zero_unseen", "CD", "", std::string("AB\0CD", 5), 0, false},
        MatchCase{"flags_differ", "MEAS", "readWriteFlags=\"1\" ignoreFlags=\"0\"", "MEAS?\n", 0,
                  false},
        MatchCase{"flags_ignored", "MEAS", "readWriteFlags=\"1\" ignoreFlags=\"1\"", "MEAS?\n", 0,
                  true}),
    rows::by_name);

TEST_F(ScriptedPlaybackTest, FirstMatchingPairInFileOrderAnswers) {
  open_scripted(rec::pair("MEAS?\n", {rec::response("EXACT\n")}) +
                rec::script_pair("MEAS", "PlaybackEngine.WriteReturnValue = 3") +
                rec::script_pair("", "PlaybackEngine.WriteReturnValue = 4"));
  EXPECT_EQ(query("MEAS?\n"), "EXACT\n");
  EXPECT_EQ(write("MEAS:VOLT?\n").status, 3);
  EXPECT_EQ(write("*RST\n").status, 4);
}

// A type word in other letter case makes the whole pair unusable; the
// pairs after it still answer.
TEST_F(ScriptedPlaybackTest, TypeWordsCountTheirCase) {
  auto retyped = [](std::string xml, const std::string& from, const std::string& to) {
    return xml.replace(xml.find(from), from.size(), to);
  };
  open_scripted(
      retyped(rec::script_pair("^A$", "PlaybackEngine.WriteReturnValue = 1"),
              "stimulusType=\"vbscript\"", "stimulusType=\"VBScript\"") +
      rec::script_pair("^B$", "PlaybackEngine.WriteReturnValue = 2",
                       {retyped(rec::script_response("PlaybackEngine.ReadText = \"b\""),
                                "responseType=\"vbscript\"", "responseType=\"VBScript\"")}) +
      rec::script_pair("^C$", "PlaybackEngine.WriteReturnValue = 3"));
  EXPECT_EQ(write("A").status, 15);
  EXPECT_EQ(write("B").status, 15);
  EXPECT_EQ(write("C").status, 3);
}

TEST_F(ScriptedPlaybackTest, SilentScriptsGiveTheDefaultsWithoutWaiting) {
  // Recorded waits of scripted entries are not read: scripted calls never wait.
  open_scripted(rec::script_pair("^IDLE\\?$", "", {rec::script_response("", "waitTime=\"3000\"")},
                                 "waitTime=\"3000\""));
  Result w = write("IDLE?", 5000);
  EXPECT_EQ(w.status, 0);
  EXPECT_EQ(w.actual, 5u);
  EXPECT_LT(w.elapsed, kSlack);
  Result r = read(64, 5000);
  EXPECT_EQ(r.status, 128);
  EXPECT_EQ(r.actual, 0u);
  EXPECT_EQ(r.stop, 0);
  EXPECT_LT(r.elapsed, kSlack);
  Result after = read(64);
  EXPECT_EQ(after.status, 15);
  EXPECT_EQ(after.stop, -77);
}

TEST_F(ScriptedPlaybackTest, ReadScriptRunsOnceAndItsTextArrivesInPieces) {
  open_scripted(rec::script_pair(
      "^DUMP\\?$", "",
      {rec::script_response("n = PlaybackEngine.GetValue(\"reads\")\n"
                            "If IsNull(n) Then n = 0\n"
                            "PlaybackEngine.StoreValue \"reads\", n + 1\n"
                            "PlaybackEngine.ReadText = \"0123456789\"\n"
                            "PlaybackEngine.ReadStopReason = 2\n"
                            "PlaybackEngine.ReadReturnValue = 6",
                            "waitTime=\"3000\"")}));
  ASSERT_EQ(write("DUMP?").status, 0);
  const std::pair<std::string, std::int32_t> pieces[] = {{"0123", 1}, {"4567", 1}, {"89", 2}};
  for (const auto& [bytes, stop] : pieces) {
    Result r = read(4, 5000);
    EXPECT_EQ(r.status, 6);
    EXPECT_EQ(r.bytes, bytes);
    EXPECT_EQ(r.stop, stop);
    EXPECT_LT(r.elapsed, kSlack);
  }
  EXPECT_EQ(read(4).status, 15);
  EXPECT_EQ(stored("reads"), "Integer=1");

  // The next matching write arms the script again.
  ASSERT_EQ(write("DUMP?").status, 0);
  Result whole = read(64);
  EXPECT_EQ(whole.bytes, "0123456789");
  EXPECT_EQ(whole.stop, 2);
  EXPECT_EQ(stored("reads"), "Integer=2");
}

struct FailureCase {
  const char* name;
  std::string write_script;
  std::int32_t write_status;
  std::string read_script;
  std::int32_t read_status;
  std::string read_bytes;
};

class ScriptFailure : public ScriptedPlaybackTest, public testing::WithParamInterface<FailureCase> {};

// A failed run ends the script where it failed; the call reports what the
// script had set until then, and the session goes on.
TEST_P(ScriptFailure, KeepsWhatTheScriptSetBeforeIt) {
  const FailureCase& c = GetParam();
  open_scripted(rec::script_pair("^RUN$", c.write_script, {rec::script_response(c.read_script)}));
  Result w = write("RUN");
  EXPECT_EQ(w.status, c.write_status);
  EXPECT_EQ(w.actual, 3u);
  Result r = read(64);
  EXPECT_EQ(r.status, c.read_status);
  EXPECT_EQ(r.bytes, c.read_bytes);
  EXPECT_EQ(r.stop, 0);
  EXPECT_EQ(read(64).status, 15);
  EXPECT_EQ(stored("late"), "Null=");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScriptFailure,
    testing::Values(
        FailureCase{"run_time_error",
                    "PlaybackEngine.WriteReturnValue = 7\n"
                    "x = 1 / 0\n"
                    "PlaybackEngine.WriteActualWritten = 1\n"
                    "PlaybackEngine.StoreValue \"late\", 1",
                    7,
                    "PlaybackEngine.ReadText = \"AB\"\n"
                    "PlaybackEngine.ReadReturnValue = 0\n"
                    "Err.Raise 5\n"
                    "PlaybackEngine.ReadStopReason = 2\n"
                    "PlaybackEngine.StoreValue \"late\", 1",
                    0, "AB"},
        FailureCase{"syntax_error",
                    "PlaybackEngine.WriteReturnValue = 7\n"
                    "PlaybackEngine.StoreValue \"late\", 1\n"
                    "If Then",
                    0,
                    "PlaybackEngine.ReadText = \"AB\"\n"
                    "PlaybackEngine.StoreValue \"late\", 1\n"
                    "Next",
                    128, ""},
        FailureCase{"misspelt_member",
                    "PlaybackEngine.WriteReturnValue = 7\n"
                    "PlaybackEngine.WriteReturnValu = 8\n"
                    "PlaybackEngine.StoreValue \"late\", 1",
                    7,
                    "PlaybackEngine.ReadText = \"AB\"\n"
                    "PlaybackEngine.ReadTxt = \"CD\"\n"
                    "PlaybackEngine.StoreValue \"late\", 1",
                    128, "AB"}),
    rows::by_name);

// The body closes ExecuteWrite early to declare a class, as scripts with
// helpers do.
TEST_F(ScriptedPlaybackTest, ObjectKeptFromAResetHostLeavesTheHostRunning) {
  open_scripted(rec::script_pair("^KEEP$",
                                 "Set o = New Counter\n"
                                 "o.N = 5\n"
                                 "PlaybackEngine.StoreValue \"o\", o\n"
                                 "End Sub\n"
                                 "Class Counter\n"
                                 "  Public N\n"
                                 "  Public Function Twice()\n"
                                 "    Twice = N * 2\n"
                                 "  End Function\n"
                                 "End Class\n"
                                 "Sub Unused()") +
                rec::script_pair("^USE$",
                                 "Set o = PlaybackEngine.GetValue(\"o\")\n"
                                 "PlaybackEngine.WriteReturnValue = 2\n"
                                 "PlaybackEngine.WriteReturnValue = o.Twice()"));
  // An object kept from a run whose script host has since been reset:
  // using it may fail, but must not harm the driver.
  ASSERT_EQ(write("KEEP").status, 0);
  for (int i = 0; i < 2; ++i) {
    std::int32_t status = write("USE").status;
    EXPECT_TRUE(status == 2 || status == 10) << status;
  }
  EXPECT_EQ(stored("o"), "Counter=");
}

TEST_F(ScriptedPlaybackTest, ScriptTimeOutEndsTheRunSoonAfter) {
  open_scripted(rec::script_pair("^SPIN$", "PlaybackEngine.WriteReturnValue = 9\n" + kSpin,
                                 {rec::script_response("PlaybackEngine.ReadText = \"partial\"\n"
                                                       "PlaybackEngine.ReadReturnValue = 0\n" +
                                                           kSpin,
                                                       "scriptTimeout=\"100\"")},
                                 "scriptTimeout=\"100\""));
  Result w = write("SPIN");
  EXPECT_EQ(w.status, 9);
  EXPECT_EQ(w.actual, 4u);
  EXPECT_GE(w.elapsed, milliseconds(100));
  EXPECT_LT(w.elapsed, milliseconds(100) + milliseconds(3000));
  Result r = read(64);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.bytes, "partial");
  EXPECT_GE(r.elapsed, milliseconds(100));
  EXPECT_LT(r.elapsed, milliseconds(100) + milliseconds(3000));
  // The worker is free again for the next request.
  EXPECT_EQ(stored("nothing"), "Null=");
}

}  // namespace
}  // namespace tap::e2e
