// The write, read and DoCommand paths of a session whose tables are filled
// by hand, so that each rule is checked without a playback file.
#include "driver/Engine.h"

#include <gtest/gtest.h>

#include <chrono>

#include "model/ExactStringStimulus.h"
#include "scripting/HelperThread.h"

namespace tap {
namespace {

using Clock = std::chrono::steady_clock;
using Response = SRPair::Response;

// Lower bounds are tight (the wait never ends early); upper bounds leave
// room for a loaded machine.
constexpr auto kSlack = std::chrono::milliseconds(400);

SRPair pair(std::string stimulus, std::vector<Response> responses, std::int32_t wait = 0,
            std::int32_t return_value = 0, std::uint32_t actual = 0) {
  ExactStringStimulus::Fields f;
  f.bytes = std::move(stimulus);
  f.waitTime = wait;
  f.returnValue = return_value;
  f.actualWritten = actual ? actual : static_cast<std::uint32_t>(f.bytes.size());
  SRPair p;
  p.set_stimulus(std::make_unique<ExactStringStimulus>(f));
  for (auto& r : responses) p.add_response(std::move(r));
  return p;
}

Response exact(std::string bytes, std::int32_t wait = 0, std::int32_t stop = 2, std::int32_t rv = 0) {
  return Response::exact("exactString", wait, rv, stop, std::move(bytes));
}

struct Call {
  std::int32_t status;
  std::string bytes;
  std::uint32_t actual;
  std::int32_t stop;
  std::chrono::milliseconds elapsed;
};

class EnginePaths : public testing::Test {
 protected:
  Call write(const std::string& bytes, std::int32_t timeout = 2000, std::uint32_t flags = 0) {
    Call c{};
    c.actual = 0xDEAD;
    auto t0 = Clock::now();
    c.status = engine_.Write(flags, timeout, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                             static_cast<std::uint32_t>(bytes.size()), &c.actual);
    c.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0);
    return c;
  }
  Call read(std::uint32_t count, std::int32_t timeout = 5000) {
    Call c{};
    c.stop = -77;
    std::string buffer(count, '\xAA');
    auto t0 = Clock::now();
    c.status = engine_.Read(0, timeout, '\n', reinterpret_cast<std::uint8_t*>(buffer.data()), count,
                            &c.actual, &c.stop);
    c.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0);
    c.bytes = buffer.substr(0, c.actual);
    if (count) first_byte_ = buffer[0];
    return c;
  }
  Engine engine_;
  char first_byte_ = 0;
};

TEST_F(EnginePaths, UnknownWriteAndReadGetTheDefaultAnswers) {
  engine_.tables().pairs().push_back(pair("*IDN?\n", {exact("ACME,DMM\n")}));
  Call r = read(8);
  EXPECT_EQ(r.status, 15);
  EXPECT_EQ(r.actual, 0u);
  EXPECT_EQ(r.stop, -77);
  EXPECT_EQ(first_byte_, 0);
  Call w = write("*RST\n");
  EXPECT_EQ(w.status, 15);
  EXPECT_EQ(w.actual, 0u);
}

TEST_F(EnginePaths, ReadAfterAnUnmatchedWriteGetsTheDefault) {
  engine_.tables().pairs().push_back(pair("*IDN?\n", {exact("ACME,DMM\n")}));
  EXPECT_EQ(write("*IDN?\n").status, 0);
  EXPECT_EQ(write("BOGUS\n").status, 15);
  EXPECT_EQ(read(64).status, 15);
}

TEST_F(EnginePaths, PiecesWithStopReasonOneThenTheRecordedOneAndProportionalWaits) {
  engine_.tables().pairs().push_back(pair("READ?\n", {exact("0123456789", 200, 2)}));
  ASSERT_EQ(write("READ?\n").status, 0);
  const std::pair<std::uint32_t, std::int32_t> expected[] = {{4, 1}, {4, 1}, {2, 2}};
  const std::chrono::milliseconds waits[] = {std::chrono::milliseconds(80),
                                             std::chrono::milliseconds(80),
                                             std::chrono::milliseconds(40)};
  std::string all;
  for (int i = 0; i < 3; ++i) {
    Call r = read(4);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.actual, expected[i].first);
    EXPECT_EQ(r.stop, expected[i].second);
    EXPECT_GE(r.elapsed, waits[i]);
    EXPECT_LT(r.elapsed, waits[i] + kSlack);
    all += r.bytes;
  }
  EXPECT_EQ(all, "0123456789");
  EXPECT_EQ(read(4).status, 15);
}

TEST_F(EnginePaths, ReadOfCountZeroDeliversNothingAndKeepsTheResponse) {
  engine_.tables().pairs().push_back(pair("Q\n", {exact("ABC", 0, 2, 6)}));
  write("Q\n");
  Call r = read(0);
  EXPECT_EQ(r.status, 6);
  EXPECT_EQ(r.actual, 0u);
  EXPECT_EQ(r.stop, 1);
  Call rest = read(16);
  EXPECT_EQ(rest.bytes, "ABC");
  EXPECT_EQ(rest.stop, 2);
}

TEST_F(EnginePaths, WriteWaitsTheRecordedTimeBoundedByTheTimeout) {
  engine_.tables().pairs().push_back(pair("CONF\n", {}, 150, 3, 99));
  // A recorded wait far beyond the slack, so that a write ignoring its
  // timeout cannot pass the bounds below.
  engine_.tables().pairs().push_back(pair("LONG\n", {}, 60000, 4, 5));
  Call full = write("CONF\n", 2000);
  EXPECT_EQ(full.status, 3);
  EXPECT_EQ(full.actual, 99u);
  EXPECT_GE(full.elapsed, std::chrono::milliseconds(150));
  EXPECT_LT(full.elapsed, std::chrono::milliseconds(150) + kSlack);
  Call cut = write("LONG\n", 30);
  EXPECT_EQ(cut.status, 4);
  EXPECT_EQ(cut.actual, 5u);
  EXPECT_GE(cut.elapsed, std::chrono::milliseconds(30));
  EXPECT_LT(cut.elapsed, std::chrono::milliseconds(30) + kSlack);
  for (std::int32_t no_wait : {0, -5}) {
    Call none = write("LONG\n", no_wait);
    EXPECT_EQ(none.status, 4);
    EXPECT_LT(none.elapsed, kSlack);
  }
}

TEST_F(EnginePaths, SuccessiveWritesStepThroughResponsesCyclically) {
  engine_.tables().pairs().push_back(pair("Q\n", {exact("A"), exact("B"), exact("C")}));
  std::string seen;
  for (int i = 0; i < 4; ++i) {
    write("Q\n");
    seen += read(1).bytes;
  }
  EXPECT_EQ(seen, "ABCA");
}

TEST_F(EnginePaths, NewMatchingWriteDiscardsTheUnreadRest) {
  engine_.tables().pairs().push_back(pair("Q\n", {exact("0123456789")}));
  write("Q\n");
  EXPECT_EQ(read(4).bytes, "0123");
  write("Q\n");
  EXPECT_EQ(read(4).bytes, "0123");
}

TEST_F(EnginePaths, ResponseOfNoKnownKindAnswers128UntilTheWriteMovesOn) {
  engine_.tables().pairs().push_back(pair("Q\n", {Response::unknown("vbscript"), exact("X")}));
  write("Q\n");
  for (int i = 0; i < 2; ++i) {
    Call r = read(4);
    EXPECT_EQ(r.status, 128);
    EXPECT_EQ(r.stop, -77);
    EXPECT_EQ(first_byte_, '\xAA');
  }
  write("Q\n");
  EXPECT_EQ(read(4).bytes, "X");
}

TEST_F(EnginePaths, ScriptedResponseThatSetsNothingDeliversTheReadDefaults) {
  engine_.tables().pairs().push_back(
      pair("Q\n", {Response::scripted("vbscript", "Sub ExecuteRead(ByVal PlaybackEngine)\n\nEnd Sub", -1)}));
  for (int turn = 0; turn < 2; ++turn) {
    write("Q\n");
    Call r = read(16);
    EXPECT_EQ(r.status, 128);
    EXPECT_EQ(r.actual, 0u);
    EXPECT_EQ(r.stop, 0);
    EXPECT_EQ(read(16).status, 15);
  }
}

TEST_F(EnginePaths, ScriptedReadWhoseWorkerCannotStartFailsAndStaysExhausted) {
  engine_.tables().pairs().push_back(pair(
      "Q\n", {Response::scripted("vbscript", "Sub ExecuteRead(ByVal PlaybackEngine)\nEnd Sub", -1)}));
  write("Q\n");
  HelperThread::stop_for_testing();
  HelperThread::fail_next_start_for_testing();
  Call r = read(16);
  EXPECT_EQ(r.status, 128);
  EXPECT_EQ(r.actual, 0u);
  EXPECT_EQ(first_byte_, 0);
  EXPECT_EQ(read(16).status, 15);
}

TEST_F(EnginePaths, DoCommandAnswersCopiesBackAndWaits) {
  DoCommandSR e;
  e.command = 7;
  e.data = "AB";
  e.matchKind = 1;
  e.unusable = false;
  e.responses.push_back({100, 0, "wxyz"});
  engine_.tables().docommands().push_back(e);
  std::string block = "AB..............";
  auto* data = reinterpret_cast<std::uint8_t*>(block.data());
  auto t0 = Clock::now();
  EXPECT_EQ(engine_.DoCommand(0, 1000, 7, 16, 0, data), 0);
  auto elapsed = Clock::now() - t0;
  EXPECT_GE(elapsed, std::chrono::milliseconds(100));
  EXPECT_LT(elapsed, std::chrono::milliseconds(100) + kSlack);
  EXPECT_EQ(block, "wxyz............");
  std::string other = "ZZ";
  EXPECT_EQ(engine_.DoCommand(0, 1000, 7, 2, 0, reinterpret_cast<std::uint8_t*>(other.data())), 8);
  EXPECT_EQ(other, "ZZ");
}

TEST_F(EnginePaths, DoCommandBetweenAWriteAndItsReadLeavesTheReadAlone) {
  engine_.tables().pairs().push_back(pair("Q\n", {exact("ANSWER")}));
  DoCommandSR e;
  e.command = 1;
  e.matchKind = 1;
  e.unusable = false;
  e.responses.push_back({0, 0, "XX"});
  engine_.tables().docommands().push_back(e);
  write("Q\n");
  std::string block = "....";
  EXPECT_EQ(engine_.DoCommand(0, 0, 1, 4, 0, reinterpret_cast<std::uint8_t*>(block.data())), 0);
  EXPECT_EQ(read(64).bytes, "ANSWER");
}

}  // namespace
}  // namespace tap
