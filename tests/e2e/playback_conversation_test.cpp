// Writes, reads and DoCommand calls answered from a loaded recording.
#include "e2e/playback_fixture.h"

namespace tap::e2e {
namespace {

namespace rec = recording;

class PlaybackConversation : public PlaybackTest {
 protected:
  void SetUp() override {
    PlaybackTest::SetUp();
    std::string body =
        // Unusable pairs come first: each would answer "MEAS?\n" if it could.
        rec::pair("MEAS?\n", {rec::response("NEWER\n")}, 0, "1.6") +
        "<IOStimulusResponse version=\"1.5\"><Stimulus stimulusType=\"ExactString\" "
        "returnValue=\"0\" actualWritten=\"6\" readWriteFlags=\"0\"><ExactString>" +
        rec::hex("MEAS?\n") + "</ExactString></Stimulus>" + rec::response("CAPITAL\n") +
        "</IOStimulusResponse>\n" +
        "<IOStimulusResponse version=\"1.5\"><Stimulus stimulusType=\"exactString\" "
        "actualWritten=\"6\" readWriteFlags=\"0\"><ExactString>" +
        rec::hex("MEAS?\n") + "</ExactString></Stimulus>" + rec::response("NO RV\n") +
        "</IOStimulusResponse>\n" +
        rec::pair("MEAS?\n", {rec::response("+1.0\n"), rec::response("+2.0\n"), rec::response("+3.0\n")}) +
        rec::pair("MEAS?\n", {rec::response("SHADOWED\n")}) +
        // Recorded waits here exceed the bounds' slack, so a driver that
        // ignored a timeout or applied a whole wait to each piece would fail.
        rec::pair("DUMP?\n", {rec::response("0123456789", 1000, 2)}) +
        rec::pair("CONF\n", {}, 150,  "1.5",
                  "returnValue=\"3\" actualWritten=\"99\" readWriteFlags=\"0\" waitTime=\"150\"") +
        rec::pair("SLOW\n", {}, 5000, "1.5",
                  "returnValue=\"3\" actualWritten=\"99\" readWriteFlags=\"0\" waitTime=\"5000\"") +
        rec::pair("FAIL?\n", {rec::response("IGNORED", 300, 4, 5)}) +
        rec::pair("EMPTY?\n", {rec::response("", 300, 6)}) +
        rec::docommand("16", "AB", {rec::docommand_response("wxyz", 100)}) +
        rec::docommand("21", "", {rec::docommand_response("", 5000)}) +
        rec::docommand("17", "", {rec::docommand_response("LONGER THAN THE BLOCK")}) +
        rec::docommand("18", "", {rec::docommand_response("1"), rec::docommand_response("2", 0, 7)}) +
        rec::docommand("19", "", {rec::docommand_response("NEW")}, "", "2") +
        rec::docommand("19", "", {rec::docommand_response("LOWER")}, "", "1.5", "exactmatch") +
        rec::docommand("20", "", {rec::docommand_response("KEPT", 0, 0, false)});
    ASSERT_EQ(open_recording(rec::file(rec::stream(rec::address("gpib", "22"), body))), 0);
  }
};

TEST_F(PlaybackConversation, UnusablePairsNeverMatchAndResponsesCycle) {
  std::vector<std::string> answers;
  for (int i = 0; i < 4; ++i) answers.push_back(query("MEAS?\n"));
  EXPECT_EQ(answers, (std::vector<std::string>{"+1.0\n", "+2.0\n", "+3.0\n", "+1.0\n"}));
}

TEST_F(PlaybackConversation, PiecesCarryStopReasonOneThenTheRecordedOneWithProportionalWaits) {
  ASSERT_EQ(write("DUMP?\n").status, 0);
  const std::uint32_t sizes[] = {4, 4, 2};
  const std::int32_t stops[] = {1, 1, 2};
  const milliseconds waits[] = {milliseconds(400), milliseconds(400), milliseconds(200)};
  std::string all;
  for (int i = 0; i < 3; ++i) {
    Result r = read(4);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.actual, sizes[i]);
    EXPECT_EQ(r.stop, stops[i]);
    EXPECT_GE(r.elapsed, waits[i]);
    EXPECT_LT(r.elapsed, waits[i] + kSlack);
    all += r.bytes;
  }
  EXPECT_EQ(all, "0123456789");
  Result after = read(4);
  EXPECT_EQ(after.status, 15);
  EXPECT_EQ(after.actual, 0u);
  EXPECT_EQ(after.stop, -77);
}

TEST_F(PlaybackConversation, ReadTimeoutCutsTheWaitShort) {
  write("DUMP?\n");
  Result r = read(10, 30);
  EXPECT_EQ(r.bytes, "0123456789");
  EXPECT_GE(r.elapsed, milliseconds(30));
  EXPECT_LT(r.elapsed, milliseconds(30) + kSlack);
}

TEST_F(PlaybackConversation, CountZeroReadDeliversNothingAndKeepsTheResponse) {
  write("DUMP?\n");
  Result zero = read(0);
  EXPECT_EQ(zero.status, 0);
  EXPECT_EQ(zero.actual, 0u);
  EXPECT_EQ(zero.stop, 1);
  EXPECT_LT(zero.elapsed, kSlack);
  EXPECT_EQ(read(64, 0).bytes, "0123456789");
}

TEST_F(PlaybackConversation, ReadAfterAnUnmatchedWriteGetsTheDefault) {
  write("DUMP?\n");
  Result unknown = write("DUMP\n");
  EXPECT_EQ(unknown.status, 15);
  EXPECT_EQ(unknown.actual, 0u);
  Result r = read(64);
  EXPECT_EQ(r.status, 15);
  EXPECT_EQ(r.actual, 0u);
}

TEST_F(PlaybackConversation, WriteReportsRecordedValuesAfterTheRecordedWait) {
  Result w = write("CONF\n", 2000);
  EXPECT_EQ(w.status, 3);
  EXPECT_EQ(w.actual, 99u);
  EXPECT_GE(w.elapsed, milliseconds(150));
  EXPECT_LT(w.elapsed, milliseconds(150) + kSlack);
  Result cut = write("SLOW\n", 100);
  EXPECT_EQ(cut.status, 3);
  EXPECT_EQ(cut.actual, 99u);
  EXPECT_GE(cut.elapsed, milliseconds(100));
  EXPECT_LT(cut.elapsed, milliseconds(100) + kSlack);
  for (std::int32_t no_wait : {0, -5}) {
    Result none = write("SLOW\n", no_wait);
    EXPECT_EQ(none.status, 3);
    EXPECT_LT(none.elapsed, kSlack) << no_wait;
  }
}

TEST_F(PlaybackConversation, FailedOrEmptyResponsesDeliverNoBytesAndDoNotWait) {
  write("FAIL?\n");
  Result failed = read(64);
  EXPECT_EQ(failed.status, 5);
  EXPECT_EQ(failed.actual, 0u);
  EXPECT_EQ(failed.stop, 4);
  EXPECT_LT(failed.elapsed, milliseconds(300));
  write("EMPTY?\n");
  Result empty = read(64);
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(empty.actual, 0u);
  EXPECT_EQ(empty.stop, 6);
  EXPECT_LT(empty.elapsed, milliseconds(300));
  EXPECT_EQ(read(64).status, 15);
}

TEST_F(PlaybackConversation, DoCommandCopiesBackOverTheBlockStartAfterItsWait) {
  std::string block = "AB..............";
  auto t0 = Clock::now();
  EXPECT_EQ(docommand(16, block, 16, 1000), 0);
  auto elapsed = Clock::now() - t0;
  EXPECT_EQ(block, "wxyz............");
  EXPECT_GE(elapsed, milliseconds(100));
  EXPECT_LT(elapsed, milliseconds(100) + kSlack);
  block = "..";
  t0 = Clock::now();
  EXPECT_EQ(docommand(21, block, 2, 20), 0);
  elapsed = Clock::now() - t0;
  EXPECT_GE(elapsed, milliseconds(20));
  EXPECT_LT(elapsed, milliseconds(20) + kSlack);
  std::string short_block = "A";
  EXPECT_EQ(docommand(16, short_block, 1), 8);
  EXPECT_EQ(short_block, "A");
}

TEST_F(PlaybackConversation, DoCommandNeverWritesPastTheBlockSize) {
  std::string block = "........";
  EXPECT_EQ(docommand(17, block, 4), 0);
  EXPECT_EQ(block, "LONG....");
}

TEST_F(PlaybackConversation, DoCommandResponsesCycleAndUnusableEntriesAnswerNothing) {
  std::string block = ".";
  EXPECT_EQ(docommand(18, block, 1), 0);
  EXPECT_EQ(block, "1");
  EXPECT_EQ(docommand(18, block, 1), 7);
  EXPECT_EQ(block, "2");
  EXPECT_EQ(docommand(18, block, 1), 0);
  EXPECT_EQ(block, "1");
  block = ".";
  EXPECT_EQ(docommand(19, block, 1), 8);
  EXPECT_EQ(block, ".");
  EXPECT_EQ(docommand(20, block, 1), 0);
  EXPECT_EQ(block, "K");
}

TEST_F(PlaybackConversation, DoCommandBetweenAWriteAndItsReadLeavesTheReadAlone) {
  write("MEAS?\n");
  std::string block = "AB";
  EXPECT_EQ(docommand(16, block, 2, 0), 0);
  EXPECT_EQ(read(64).bytes, "+1.0\n");
}

}  // namespace
}  // namespace tap::e2e
