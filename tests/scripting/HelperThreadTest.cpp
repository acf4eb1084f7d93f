// The worker as its callers see it: requests run on one thread against the
// block they name, failures stay on the worker, and services that could
// not start make their requests answer at once.
#include "scripting/HelperThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "scripting/PlaybackServerData.h"

namespace tap {
namespace {

constexpr std::uint32_t kNoLimit = static_cast<std::uint32_t>(-1);

std::string read_script(const std::string& body) {
  return "Sub ExecuteRead(ByVal PlaybackEngine)\n" + body + "\nEnd Sub";
}

class HelperThreadTest : public testing::Test {
 protected:
  void TearDown() override { restart(false, false); }
  // A fresh worker whose start-up fails the given services.
  static void restart(bool host_fails, bool regex_fails) {
    HelperThread::stop_for_testing();
    HelperThread::fail_services_for_testing(host_fails, regex_fails);
  }
  static void run(PlaybackServerData& data, const std::string& body,
                  std::uint32_t timeout = kNoLimit) {
    data.read_context = true;
    HelperThread::RunScript(read_script(body), "ExecuteRead", timeout, &data);
  }
};

TEST_F(HelperThreadTest, ScriptRunsWithTheObjectPointedAtTheGivenBlock) {
  PlaybackServerData data;
  HelperThread::SetDisplayErrors(true);
  run(data, "PlaybackEngine.ReadText = \"from script\"");
  EXPECT_EQ(data.ReadText, "from script");
  EXPECT_FALSE(HelperThread::DisplayErrors());
}

TEST_F(HelperThreadTest, GlobalsDoNotSurviveIntoTheNextRun) {
  PlaybackServerData data;
  const std::string module = "Dim g\nSub ExecuteRead(ByVal PlaybackEngine)\n"
                             "g = g & \"x\"\nPlaybackEngine.ReadText = g\nEnd Sub";
  for (int i = 0; i < 2; ++i) {
    HelperThread::RunScript(module, "ExecuteRead", kNoLimit, &data);
    EXPECT_EQ(data.ReadText, "x") << "run " << i;
  }
}

TEST_F(HelperThreadTest, FailuresKeepWhatTheScriptStoredAndReachNoCaller) {
  struct Case {
    const char* name;
    std::string body;
    std::uint32_t timeout;
    std::int32_t error;  // the failure the worker notes; 1000: any syntax error
    const char* text;    // what the block holds afterwards
  };
  const Case cases[] = {
      {"run-time error half-way", "PlaybackEngine.ReadText = \"a\"\nx = 1 / 0\nPlaybackEngine.ReadText = \"b\"",
       kNoLimit, 11, "a"},
      {"time-out", "PlaybackEngine.ReadText = \"a\"\nDo\nLoop", 50, 0, "a"},
      {"syntax error", "PlaybackEngine.ReadText = \"a\"\nIf Then", kNoLimit, 1000, ""},
      {"unknown member", "PlaybackEngine.ReadText = \"a\"\nPlaybackEngine.Nothing = 1", kNoLimit, 438, "a"},
  };
  for (const Case& c : cases) {
    PlaybackServerData data;
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_NO_THROW(run(data, c.body, c.timeout)) << c.name;
    EXPECT_EQ(data.ReadText, c.text) << c.name;
    HelperThread::Failure f = HelperThread::LastFailure();
    if (c.error == 1000) {
      EXPECT_GE(f.number, 1000) << c.name;
      EXPECT_LT(f.number, 1100) << c.name;
    } else if (c.error) {
      EXPECT_EQ(f.number, c.error) << c.name << ": " << f.description;
    } else {
      EXPECT_NE(f.number, 0) << c.name;
    }
    // A loop the time-out ends must not hold the caller long.
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5)) << c.name;
  }
}

// Case, zero bytes and the code page are match_ansi's; the driver's
// scripted-match tests show them through the worker.
TEST_F(HelperThreadTest, MatchReplacesTheGroupsWithThoseOfTheFirstMatch) {
  PlaybackServerData data;
  data.captures = {"old", "older", "oldest"};
  EXPECT_TRUE(HelperThread::MatchRegExp("VOLT 1.5;VOLT 2", "VOLT (\\S+?)(x)?(\\xE9)?(;|$)", &data, false));
  EXPECT_EQ(data.captures, (std::vector<std::string>{"1.5", "", "", ";"}));
  // A match without groups leaves an empty list.
  EXPECT_TRUE(HelperThread::MatchRegExp("abc", "b", &data, false));
  EXPECT_TRUE(data.captures.empty());
}

TEST_F(HelperThreadTest, NoMatchOrABadPatternKeepsTheGroupsOfTheLastMatch) {
  PlaybackServerData data;
  data.captures = {"kept"};
  EXPECT_FALSE(HelperThread::MatchRegExp("abc", "xyz", &data, false));
  EXPECT_FALSE(HelperThread::MatchRegExp("abc", "(unclosed", &data, false));
  EXPECT_NE(HelperThread::LastFailure().number, 0);
  EXPECT_EQ(data.captures, std::vector<std::string>{"kept"});
}

TEST_F(HelperThreadTest, WithoutAScriptHostNothingRunsOrLoadsButMatchesStillWork) {
  restart(true, false);
  PlaybackServerData data;
  data.ReadText = "untouched";
  run(data, "PlaybackEngine.ReadText = \"ran\"");
  EXPECT_EQ(data.ReadText, "untouched");
  bool loaded = false;
  HelperThread::LoadFile([&] { loaded = true; });
  EXPECT_FALSE(loaded);
  EXPECT_TRUE(HelperThread::MatchRegExp("abc", "b", &data, false));
}

TEST_F(HelperThreadTest, WithoutRegularExpressionsNothingMatchesButScriptsRun) {
  restart(false, true);
  PlaybackServerData data;
  data.captures = {"kept"};
  EXPECT_FALSE(HelperThread::MatchRegExp("abc", "b", &data, false));
  EXPECT_EQ(data.captures, std::vector<std::string>{"kept"});
  run(data, "PlaybackEngine.ReadText = \"ran\"");
  EXPECT_EQ(data.ReadText, "ran");
  bool loaded = false;
  HelperThread::LoadFile([&] { loaded = true; });
  EXPECT_TRUE(loaded);
}

TEST_F(HelperThreadTest, StartFailureRaisesInitFailedAndTheNextRequestStartsAgain) {
  restart(false, false);
  HelperThread::fail_next_start_for_testing();
  PlaybackServerData data;
  try {
    run(data, "PlaybackEngine.ReadText = \"ran\"");
    FAIL() << "expected InitFailed";
  } catch (const HelperThread::InitFailed& e) {
    EXPECT_STREQ(e.what(), "Initialization of the playback engine's scripting system failed.");
  }
  EXPECT_EQ(data.ReadText, "");
  run(data, "PlaybackEngine.ReadText = \"ran\"");
  EXPECT_EQ(data.ReadText, "ran");
}

TEST_F(HelperThreadTest, JobsRunOnTheWorkerThread) {
  std::thread::id where;
  HelperThread::LoadFile([&] { where = std::this_thread::get_id(); });
  EXPECT_NE(where, std::thread::id());
  EXPECT_NE(where, std::this_thread::get_id());
}

TEST_F(HelperThreadTest, RequestsFromManyThreadsEachReachTheirOwnBlock) {
  constexpr int kThreads = 4, kRuns = 50;
  std::vector<std::thread> threads;
  std::vector<int> mixed(kThreads, 0);
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      PlaybackServerData data;
      const std::string mine = "thread " + std::to_string(t);
      for (int i = 0; i < kRuns; ++i) {
        run(data, "PlaybackEngine.ReadText = \"" + mine + "\"");
        if (data.ReadText != mine) ++mixed[t];
        data.ReadText.clear();
        if (!HelperThread::MatchRegExp(mine, "(\\d)", &data, false) || data.captures.size() != 1 ||
            data.captures[0] != std::to_string(t))
          ++mixed[t];
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(mixed, std::vector<int>(kThreads, 0));
}

}  // namespace
}  // namespace tap
