#include "model/SRPair.h"

#include <gtest/gtest.h>

#include <array>

#include "support/case_name.h"

#include "model/ExactStringStimulus.h"

namespace tap {
namespace {

using Response = SRPair::Response;

SRPair pair_with(std::vector<Response> responses, std::string stimulus = "Q?") {
  ExactStringStimulus::Fields f;
  f.bytes = std::move(stimulus);
  f.actualWritten = static_cast<std::uint32_t>(f.bytes.size());
  SRPair pair;
  pair.set_stimulus(std::make_unique<ExactStringStimulus>(f));
  for (auto& r : responses) pair.add_response(std::move(r));
  return pair;
}

Response exact(std::string bytes, std::int32_t wait = 0, std::int32_t stop = 2,
               std::int32_t rv = 0) {
  return Response::exact("exactString", wait, rv, stop, std::move(bytes));
}

struct PieceCase {
  const char* name;
  std::string bytes;
  std::int32_t wait;
  std::vector<std::int32_t> requests;
  // Per read: count, stop reason, wait.
  std::vector<std::array<std::int32_t, 3>> pieces;
  bool exhausted_after;
};

class ReadPiece : public testing::TestWithParam<PieceCase> {};

TEST_P(ReadPiece, DeliversPiecesWithProportionalWaits) {
  const PieceCase& c = GetParam();
  Response r = exact(c.bytes, c.wait, 2, 0);
  std::string delivered;
  for (std::size_t i = 0; i < c.requests.size(); ++i) {
    Response::Piece p = r.ReadPiece(c.requests[i]);
    EXPECT_EQ(static_cast<std::int32_t>(p.count), c.pieces[i][0]) << "read " << i;
    EXPECT_EQ(p.stopReason, c.pieces[i][1]) << "read " << i;
    EXPECT_EQ(p.wait, c.pieces[i][2]) << "read " << i;
    EXPECT_EQ(p.returnValue, 0);
    delivered += c.bytes.substr(p.begin, p.count);
  }
  EXPECT_EQ(r.exhausted(), c.exhausted_after);
  if (c.exhausted_after) {
    EXPECT_EQ(delivered, c.bytes);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadPiece,
    testing::Values(
        PieceCase{"ten_by_four", "0123456789", 100, {4, 4, 4}, {{{4, 1, 40}}, {{4, 1, 40}}, {{2, 2, 20}}}, true},
        PieceCase{"all_at_once", "0123456789", 1000, {10}, {{{10, 2, 1000}}}, true},
        PieceCase{"larger_buffer", "0123456789", 1000, {4096}, {{{10, 2, 1000}}}, true},
        PieceCase{"count_zero_leaves_it_fresh", "0123456789", 1000, {0}, {{{0, 1, 0}}}, false},
        PieceCase{"empty_response", "", 500, {8}, {{{0, 2, 0}}}, true},
        PieceCase{"empty_response_count_zero", "", 500, {0}, {{{0, 2, 0}}}, true},
        PieceCase{"truncating_share", "abc", 10, {1, 1, 1}, {{{1, 1, 3}}, {{1, 1, 3}}, {{1, 2, 3}}}, true},
        // wait x count exceeds 32 bits here; the share must not wrap.
        PieceCase{"large_response", std::string(5'000'000, 'x'), 1000, {2'500'000, 2'500'000},
                  {{{2'500'000, 1, 500}}, {{2'500'000, 2, 500}}}, true}),
    rows::by_name);

TEST(SRPairTest, NonzeroReturnValueResponseDeliversNothingWithItsStatus) {
  Response r = Response::exact("exactString", 300, 5, 4, "");
  Response::Piece p = r.ReadPiece(10);
  EXPECT_EQ(p.count, 0u);
  EXPECT_EQ(p.returnValue, 5);
  EXPECT_EQ(p.stopReason, 4);
  EXPECT_EQ(p.wait, 0);
}

TEST(SRPairTest, ResponsesCycleOnePerMatchedWrite) {
  SRPair pair = pair_with({exact("A"), exact("B"), exact("C")});
  EXPECT_EQ(pair.currentResponse(), -1);
  EXPECT_FALSE(pair.HasPendingResponse());
  std::string seen;
  for (int i = 0; i < 4; ++i) {
    pair.AdvanceResponse();
    seen += pair.CurrentResponse().bytes();
  }
  EXPECT_EQ(seen, "ABCA");
}

TEST(SRPairTest, AdvanceRearmsTheResponseBeingLeft) {
  SRPair pair = pair_with({exact("0123456789")});
  pair.AdvanceResponse();
  pair.ReadCurrentResponse(4);
  pair.AdvanceResponse();
  EXPECT_EQ(pair.CurrentResponse().position(), 0);
  EXPECT_TRUE(pair.HasPendingResponse());
  pair.ReadCurrentResponse(100);
  EXPECT_FALSE(pair.HasPendingResponse());
  pair.AdvanceResponse();
  EXPECT_TRUE(pair.HasPendingResponse());
}

TEST(SRPairTest, PairWithoutResponsesHasNothingPending) {
  SRPair pair = pair_with({});
  pair.AdvanceResponse();
  EXPECT_EQ(pair.currentResponse(), -1);
  EXPECT_FALSE(pair.HasPendingResponse());
}

TEST(SRPairTest, ExecuteRecordsLastWrite) {
  SRPair pair = pair_with({exact("x")}, std::string("Q\0?", 3));
  const std::uint8_t written[] = {'Q', 0, '?'};
  std::int32_t wait = 0;
  std::uint32_t actual = 0;
  ASSERT_TRUE(pair.Matches(nullptr, written, 3, 0x10));
  EXPECT_EQ(pair.Execute(nullptr, written, 3, 0x10, 500, wait, actual), 0);
  EXPECT_EQ(pair.LastWrite().bytes, std::string("Q\0?", 3));
  EXPECT_EQ(pair.LastWrite().actualWritten, 3u);
  EXPECT_EQ(pair.LastWrite().flags, 0x10u);
}

TEST(SRPairTest, CopiesCloneTheStimulusAndKeepState) {
  SRPair original = pair_with({exact("A"), exact("B")});
  original.AdvanceResponse();
  SRPair copy = original;
  original = SRPair();
  const std::uint8_t written[] = {'Q', '?'};
  EXPECT_TRUE(copy.Matches(nullptr, written, 2, 0));
  EXPECT_EQ(copy.currentResponse(), 0);
  ASSERT_NE(copy.stimulus(), nullptr);
}

TEST(SRPairTest, ScriptedResponseRunsAgainAfterReset) {
  SRPair pair = pair_with({Response::scripted("vbscript", "Sub ExecuteRead(ByVal PlaybackEngine)\nEnd Sub", 250)});
  pair.AdvanceResponse();
  EXPECT_EQ(pair.CurrentResponseType(), Response::kScriptPending);
  EXPECT_EQ(pair.CurrentScriptTimeout(), 250);
  EXPECT_FALSE(pair.TakeCurrentScript().empty());
  EXPECT_FALSE(pair.HasPendingResponse());
  pair.SetCurrentScriptResult("rest", 2, 0);
  EXPECT_EQ(pair.CurrentResponseType(), Response::kScriptResult);
  EXPECT_TRUE(pair.HasPendingResponse());
  Response::Piece p = pair.ReadCurrentResponse(10);
  EXPECT_EQ(p.count, 4u);
  EXPECT_EQ(p.stopReason, 2);
  EXPECT_EQ(p.wait, 0);
  pair.AdvanceResponse();
  EXPECT_EQ(pair.CurrentResponseType(), Response::kScriptPending);
  EXPECT_TRUE(pair.CurrentResponse().bytes().empty());
}

}  // namespace
}  // namespace tap
