#include "scripting/HelperThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "driver/Engine.h"
#include "scripting/PlaybackServerData.h"
#include "scripting/WorkerServices.h"

namespace tap {
namespace {

// Records what the worker hands the script host, on the worker thread.
struct HostLog {
  std::vector<std::string> calls;
  std::thread::id thread;
  std::atomic<int> running{0};
  std::atomic<bool> overlapped{false};
};

class FakeHost : public ScriptHost {
 public:
  explicit FakeHost(HostLog& log) : log_(log) {}
  void Reset() override { log_.calls.push_back("reset"); }
  void SetTimeout(std::int32_t ms) override { log_.calls.push_back("timeout " + std::to_string(ms)); }
  void AddCode(const std::string& text) override { log_.calls.push_back("code " + text); }
  void Run(const std::string& procedure, PlaybackServerData& data) override {
    if (log_.running.fetch_add(1) != 0) log_.overlapped = true;
    log_.thread = std::this_thread::get_id();
    log_.calls.push_back("run " + procedure);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    data.ReadText = "from script";
    if (procedure == "Fail") {
      log_.running.fetch_sub(1);
      throw std::runtime_error("Type mismatch");
    }
    log_.running.fetch_sub(1);
  }

 private:
  HostLog& log_;
};

class FakeRegExp : public RegExpEngine {
 public:
  std::optional<std::vector<std::u16string>> Execute(std::u16string_view subject,
                                                     std::u16string_view pattern,
                                                     bool) override {
    if (pattern == u"throw") throw std::runtime_error("bad pattern");
    if (subject.find(pattern) == std::u16string_view::npos) return std::nullopt;
    return std::vector<std::u16string>{std::u16string(subject), u"", u"\u00e9"};
  }
};

class HelperThreadTest : public testing::Test {
 protected:
  void TearDown() override {
    HelperThread::stop_for_testing();
    HelperThread::set_services_for_testing({});
  }
  void use(bool with_host, bool with_regex) {
    HelperThread::stop_for_testing();
    HelperThread::set_services_for_testing([this, with_host, with_regex] {
      WorkerServices s;
      if (with_host) s.host = std::make_unique<FakeHost>(log_);
      if (with_regex) s.regex = std::make_unique<FakeRegExp>();
      return s;
    });
  }
  HostLog log_;
};

TEST_F(HelperThreadTest, RunScriptResetsTheHostAndRunsOnTheWorker) {
  use(true, false);
  PlaybackServerData data;
  HelperThread::SetDisplayErrors(true);
  HelperThread::RunScript("Sub X\nEnd Sub", "X", static_cast<std::uint32_t>(-1), &data);
  EXPECT_EQ(log_.calls, (std::vector<std::string>{"reset", "timeout -1", "code Sub X\nEnd Sub", "run X"}));
  EXPECT_NE(log_.thread, std::this_thread::get_id());
  EXPECT_EQ(data.ReadText, "from script");
  EXPECT_FALSE(HelperThread::DisplayErrors());
}

TEST_F(HelperThreadTest, FailedScriptKeepsWhatItStoredAndReachesNoCaller) {
  use(true, false);
  PlaybackServerData data;
  EXPECT_NO_THROW(HelperThread::RunScript("", "Fail", 100, &data));
  EXPECT_EQ(data.ReadText, "from script");
}

TEST_F(HelperThreadTest, WithoutHostNothingRunsAndNoLoadHappens) {
  use(false, false);
  PlaybackServerData data;
  HelperThread::RunScript("", "X", 0, &data);
  EXPECT_TRUE(log_.calls.empty());
  Engine engine;
  // With no host the open's preset status stays: the load never ran.
  EXPECT_EQ(engine.Open("", 1, 0, 0, "", "", 0), 24);
}

TEST_F(HelperThreadTest, MatchStoresCaptureGroupsInAnsi) {
  use(true, true);
  PlaybackServerData data;
  data.captures = {"old"};
  EXPECT_TRUE(HelperThread::MatchRegExp("MEAS:VOLT?", "VOLT", &data, false));
  EXPECT_EQ(data.captures, (std::vector<std::string>{"MEAS:VOLT?", "", "\xE9"}));
}

TEST_F(HelperThreadTest, MatchSearchesOnlyUpToTheFirstZeroByte) {
  use(true, true);
  PlaybackServerData data;
  EXPECT_FALSE(HelperThread::MatchRegExp(std::string("AB\0CD", 5), "CD", &data, false));
  EXPECT_TRUE(HelperThread::MatchRegExp(std::string("AB\0CD", 5), "AB", &data, false));
  EXPECT_EQ(data.captures.front(), "AB");
}

TEST_F(HelperThreadTest, NoMatchOrFailureKeepsPreviousGroups) {
  use(true, true);
  PlaybackServerData data;
  data.captures = {"kept"};
  EXPECT_FALSE(HelperThread::MatchRegExp("abc", "xyz", &data, false));
  EXPECT_FALSE(HelperThread::MatchRegExp("abc", "throw", &data, false));
  EXPECT_EQ(data.captures, std::vector<std::string>{"kept"});
}

TEST_F(HelperThreadTest, WithoutRegexEngineNothingMatches) {
  use(true, false);
  PlaybackServerData data;
  EXPECT_FALSE(HelperThread::MatchRegExp("abc", "abc", &data, false));
}

TEST_F(HelperThreadTest, StartFailureRaisesInitFailedAndTheNextRequestStartsAgain) {
  use(true, false);
  HelperThread::fail_next_start_for_testing();
  PlaybackServerData data;
  try {
    HelperThread::RunScript("", "X", 0, &data);
    FAIL() << "expected InitFailed";
  } catch (const HelperThread::InitFailed& e) {
    EXPECT_STREQ(e.what(), "Initialization of the playback engine's scripting system failed.");
  }
  EXPECT_TRUE(log_.calls.empty());
  HelperThread::RunScript("", "X", 0, &data);
  EXPECT_EQ(log_.calls.back(), "run X");
}

TEST_F(HelperThreadTest, OpenReturns128WhenTheWorkerCannotStart) {
  use(true, false);
  HelperThread::fail_next_start_for_testing();
  Engine engine;
  EXPECT_EQ(engine.Open("", 1, 0, 0, "", "", 0), 128);
}

TEST_F(HelperThreadTest, RequestsFromManyThreadsAreServedOneAtATime) {
  use(true, false);
  std::vector<std::thread> threads;
  std::vector<PlaybackServerData> blocks(4);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 5; ++i) HelperThread::RunScript("", "X", 0, &blocks[t]);
    });
  for (auto& t : threads) t.join();
  EXPECT_FALSE(log_.overlapped);
  EXPECT_EQ(std::count(log_.calls.begin(), log_.calls.end(), "run X"), 20);
}

}  // namespace
}  // namespace tap
