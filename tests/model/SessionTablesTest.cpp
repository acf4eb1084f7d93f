#include "model/SessionTables.h"

#include <gtest/gtest.h>

#include "model/ExactStringStimulus.h"

namespace tap {
namespace {

SRPair pair_for(std::string stimulus, std::int32_t return_value) {
  ExactStringStimulus::Fields f;
  f.bytes = std::move(stimulus);
  f.returnValue = return_value;
  SRPair pair;
  pair.set_stimulus(std::make_unique<ExactStringStimulus>(f));
  return pair;
}

const std::uint8_t* bytes(const std::string& s) {
  return reinterpret_cast<const std::uint8_t*>(s.data());
}

TEST(SessionTablesTest, FirstMatchingPairWinsEveryTime) {
  SessionTables t;
  t.pairs().push_back(pair_for("A", 1));
  t.pairs().push_back(pair_for("B", 2));
  t.pairs().push_back(pair_for("B", 3));
  const std::string b = "B";
  for (int i = 0; i < 3; ++i) {
    SRPair* p = t.FindMatchingPair(nullptr, bytes(b), 1, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(t.current_pair_index(), 1);
  }
}

TEST(SessionTablesTest, FailedMatchClearsCurrentPair) {
  SessionTables t;
  t.pairs().push_back(pair_for("A", 1));
  const std::string a = "A", z = "Z";
  ASSERT_NE(t.FindMatchingPair(nullptr, bytes(a), 1, 0), nullptr);
  EXPECT_NE(t.CurrentPair(), nullptr);
  EXPECT_EQ(t.FindMatchingPair(nullptr, bytes(z), 1, 0), nullptr);
  EXPECT_EQ(t.CurrentPair(), nullptr);
}

TEST(SessionTablesTest, DoCommandSearchLeavesCurrentPairAlone) {
  SessionTables t;
  t.pairs().push_back(pair_for("A", 1));
  DoCommandSR first, second;
  for (DoCommandSR* e : {&first, &second}) {
    e->command = 5;
    e->unusable = false;
    e->matchKind = 1;
    e->responses.push_back({0, e == &first ? 10 : 20, ""});
  }
  t.docommands().push_back(first);
  t.docommands().push_back(second);
  const std::string a = "A";
  t.FindMatchingPair(nullptr, bytes(a), 1, 0);
  DoCommandSR* e = t.FindMatchingDoCommand(5, 0, 0, nullptr);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e, &t.docommands()[0]);
  EXPECT_EQ(t.current_pair_index(), 0);
  EXPECT_EQ(t.FindMatchingDoCommand(6, 0, 0, nullptr), nullptr);
}

}  // namespace
}  // namespace tap
