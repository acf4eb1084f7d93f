// Hostile scripts on the worker: each ends within twice its time-out, the
// worker serves the next request, and the recursion bound holds on the
// worker's own stack.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "scripting/HelperThread.h"
#include "scripting/PlaybackServerData.h"
#include "vbscript/ScriptError.h"

namespace tap {
namespace {

// A hostile script stops within twice its time-out; the sanitizers slow
// the costly built-ins several times, so they get a wider (still failing
// when the deadline is ignored: those scripts ran for minutes) bound.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr long long kBoundFactor = 10;
#else
constexpr long long kBoundFactor = 2;
#endif

constexpr std::int32_t kTimedOut = static_cast<std::int32_t>(vbs::RuntimeError::script_timeout);
constexpr std::int32_t kOutOfStack = static_cast<std::int32_t>(vbs::RuntimeError::out_of_stack_space);

TEST(HostileScriptOnWorker, EndsWithinBoundAndTheWorkerServesTheNextRequest) {
  struct Case {
    const char* name;
    std::string body;
    std::int32_t error;
  };
  const Case cases[] = {
      {"costly statements", "Do : x = Replace(Space(20000000), \" \", \"ab\") : Loop", kTimedOut},
      // Sleep is bounded by 60 s on its own; the deadline comes first.
      {"Sleep past the deadline", "PlaybackEngine.ReadText = \"a\"\nPlaybackEngine.Sleep 60000", kTimedOut},
      {"deep recursion", "F 1\nEnd Sub\nSub F(n) : F n + 1 : End Sub\nSub Unused", kOutOfStack},
  };
  constexpr std::uint32_t timeout = 200;
  for (const Case& c : cases) {
    PlaybackServerData data;
    data.read_context = true;
    const std::string module = "Sub ExecuteRead(ByVal PlaybackEngine)\n" + c.body + "\nEnd Sub";
    auto t0 = std::chrono::steady_clock::now();
    HelperThread::RunScript(module, "ExecuteRead", timeout, &data);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_EQ(HelperThread::LastFailure().number, c.error) << c.name << ": " << HelperThread::LastFailure().description;
    EXPECT_LT(ms, kBoundFactor * timeout) << c.name;

    HelperThread::RunScript("Sub ExecuteRead(ByVal PlaybackEngine)\nPlaybackEngine.ReadText = \"next\"\nEnd Sub",
                            "ExecuteRead", timeout, &data);
    EXPECT_EQ(data.ReadText, "next") << c.name;
  }
}

}  // namespace
}  // namespace tap
