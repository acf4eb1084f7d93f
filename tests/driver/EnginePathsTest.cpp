// The engine without a playback file: the read and write paths of a
// session whose tables are filled by hand, open without a worker, and the
// lock count. The timed rules are checked end to end.
#include "driver/Engine.h"

#include <gtest/gtest.h>

#include "model/ExactStringStimulus.h"
#include "scripting/HelperThread.h"

namespace tap {
namespace {

using Response = SRPair::Response;

SRPair pair(std::string stimulus, std::vector<Response> responses) {
  ExactStringStimulus::Fields f;
  f.bytes = std::move(stimulus);
  f.actualWritten = static_cast<std::uint32_t>(f.bytes.size());
  SRPair p;
  p.set_stimulus(std::make_unique<ExactStringStimulus>(f));
  for (auto& r : responses) p.add_response(std::move(r));
  return p;
}

Response exact(std::string bytes, std::int32_t rv = 0) {
  return Response::exact("exactString", 0, rv, 2, std::move(bytes));
}

struct Call {
  std::int32_t status;
  std::string bytes;
  std::uint32_t actual;
  std::int32_t stop;
};

class EnginePaths : public testing::Test {
 protected:
  void TearDown() override {
    HelperThread::stop_for_testing();
    HelperThread::fail_services_for_testing(false, false);
  }
  Call write(const std::string& bytes) {
    Call c{};
    c.actual = 0xDEAD;
    c.status = engine_.Write(0, 2000, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                             static_cast<std::uint32_t>(bytes.size()), &c.actual);
    return c;
  }
  Call read(std::uint32_t count) {
    Call c{};
    c.stop = -77;
    std::string buffer(count, '\xAA');
    c.status = engine_.Read(0, 5000, '\n', reinterpret_cast<std::uint8_t*>(buffer.data()), count, &c.actual, &c.stop);
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

TEST_F(EnginePaths, ReadOfCountZeroDeliversNothingAndKeepsTheResponse) {
  engine_.tables().pairs().push_back(pair("Q\n", {exact("ABC", 6)}));
  write("Q\n");
  Call r = read(0);
  EXPECT_EQ(r.status, 6);
  EXPECT_EQ(r.actual, 0u);
  EXPECT_EQ(r.stop, 1);
  Call rest = read(16);
  EXPECT_EQ(rest.bytes, "ABC");
  EXPECT_EQ(rest.stop, 2);
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

TEST_F(EnginePaths, OpenReturns128WhenTheWorkerCannotStart) {
  HelperThread::fail_next_start_for_testing();
  EXPECT_EQ(engine_.Open("", 1, 0, 0, "", "", 0), 128);
}

TEST_F(EnginePaths, WithoutAScriptHostTheLoadNeverRunsAndTheOpenKeepsItsPreset) {
  HelperThread::stop_for_testing();
  HelperThread::fail_services_for_testing(true, false);
  EXPECT_EQ(engine_.Open("", 1, 0, 0, "", "", 0), 24);
}

TEST(EngineLock, CountsLocksAndRefusesUnlockBelowZero) {
  Engine engine;
  const std::int32_t expected[] = {0, 0, 0, 0, 12};
  std::int32_t got[] = {engine.Lock(), engine.Lock(), engine.Unlock(), engine.Unlock(), engine.Unlock()};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(got[i], expected[i]) << "call " << i;
  EXPECT_EQ(engine.lock_count(), 0u);
}

}  // namespace
}  // namespace tap
