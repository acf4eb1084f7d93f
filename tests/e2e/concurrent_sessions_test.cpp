// Sixteen sessions on sixteen threads, half answered from recorded bytes and
// half by scripts that all share the one script worker. Every session
// checks that each answer is its own and in its own order.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "e2e/playback_fixture.h"

namespace tap::e2e {
namespace {

namespace rec = recording;

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TAP_E2E_UNDER_TSAN 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define TAP_E2E_UNDER_TSAN 1
#endif

#ifdef TAP_E2E_UNDER_TSAN
constexpr int kRoundTrips = 1000;
constexpr std::chrono::seconds kDeadline{240};
#else
constexpr int kRoundTrips = 2000;
constexpr std::chrono::seconds kDeadline{60};
#endif
constexpr int kSessions = 16;

bool scripted(int session) { return session % 2 == 1; }
std::uint32_t primary_of(int session) { return static_cast<std::uint32_t>(session + 1); }

// Recorded sessions cycle through three answers; scripted ones count their
// writes and reads in their own store and answer with both counts.
std::string stream_of(int session) {
  std::string id = std::to_string(session);
  std::string body;
  if (scripted(session)) {
    body = rec::script_pair(
        "^Q\\?$",
        "PlaybackEngine.StoreValue \"writes\", PlaybackEngine.GetValue(\"writes\") + 1",
        {rec::script_response("n = PlaybackEngine.GetValue(\"reads\") + 1\n"
                              "PlaybackEngine.StoreValue \"reads\", n\n"
                              "PlaybackEngine.ReadText = \"S" + id +
                              ":\" & n & \":\" & PlaybackEngine.GetValue(\"writes\") & vbLf\n"
                              "PlaybackEngine.ReadStopReason = 2\n"
                              "PlaybackEngine.ReadReturnValue = 0")});
  } else {
    body = rec::pair("Q?\n", {rec::response("E" + id + ":1\n"), rec::response("E" + id + ":2\n"),
                              rec::response("E" + id + ":3\n")});
  }
  return rec::stream(rec::address("gpib", std::to_string(primary_of(session))), body);
}

std::string expected_answer(int session, int round_trip) {
  std::string id = std::to_string(session);
  if (!scripted(session)) return "E" + id + ":" + std::to_string(round_trip % 3 + 1) + "\n";
  std::string n = std::to_string(round_trip + 1);
  return "S" + id + ":" + n + ":" + n + "\n";
}

// Returns the first fault the session saw, or nothing.
std::string run_session(const host::DriverHost& driver, int session) {
  VarnelSession s = nullptr;
  std::int32_t status = driver.open(gpib(primary_of(session)), &s);
  if (status != 0) return "open returned " + std::to_string(status);
  const std::string query = scripted(session) ? "Q?" : "Q?\n";
  std::string fault;
  for (int i = 0; i < kRoundTrips && fault.empty(); ++i) {
    std::uint32_t actual = 0;
    status = driver.write(s, 0, 0, reinterpret_cast<const std::uint8_t*>(query.data()),
                          static_cast<std::uint32_t>(query.size()), &actual);
    if (status != 0 || actual != query.size()) {
      fault = "write " + std::to_string(i) + " returned " + std::to_string(status);
      break;
    }
    char buffer[64];
    std::int32_t stop = 0;
    status = driver.read(s, 0, 0, '\n', reinterpret_cast<std::uint8_t*>(buffer), sizeof buffer,
                         &actual, &stop);
    std::string answer(buffer, std::min<std::size_t>(actual, sizeof buffer));
    std::string expected = expected_answer(session, i);
    if (status != 0 || stop != 2 || answer != expected)
      fault = "round trip " + std::to_string(i) + ": status " + std::to_string(status) + ", \"" +
              answer + "\" instead of \"" + expected + "\"";
  }
  driver.close(s);
  return fault;
}

TEST_F(PlaybackTest, SixteenSessionsOnSixteenThreadsKeepTheirOwnAnswers) {
  std::string streams;
  for (int i = 0; i < kSessions; ++i) streams += stream_of(i);
  rec::TempFile file(rec::file(streams + rec::init_values({rec::string_value("writes", "0"),
                                                           rec::string_value("reads", "0")})));
  region().set_playback_path(file.path());

  std::vector<std::string> faults(kSessions);
  std::mutex mutex;
  std::condition_variable all_done;
  int finished = 0;
  std::vector<std::thread> threads;
  for (int i = 0; i < kSessions; ++i)
    threads.emplace_back([&, i] {
      faults[i] = run_session(driver(), i);
      std::lock_guard lock(mutex);
      ++finished;
      all_done.notify_one();
    });
  {
    // Sessions stuck in the driver cannot be joined: end the run instead
    // of hanging it.
    std::unique_lock lock(mutex);
    if (!all_done.wait_for(lock, kDeadline, [&] { return finished == kSessions; })) {
      std::fprintf(stderr, "%d of %d sessions still running after %lld s: the driver hangs\n",
                   kSessions - finished, kSessions, static_cast<long long>(kDeadline.count()));
      std::abort();
    }
  }
  for (std::thread& t : threads) t.join();
  for (int i = 0; i < kSessions; ++i) EXPECT_EQ(faults[i], "") << "session " << i;
}

}  // namespace
}  // namespace tap::e2e
