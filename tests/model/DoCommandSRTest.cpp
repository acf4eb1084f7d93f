// Cycling responses and the copy into the block are checked end to end.
#include "model/DoCommandSR.h"

#include <gtest/gtest.h>

#include "support/case_name.h"

namespace tap {
namespace {

DoCommandSR entry(std::string data, std::vector<DoCommandSR::DoCommandResponse> responses,
                  std::uint32_t flags = 0x001, bool ignore_flags = false) {
  DoCommandSR e;
  e.command = 0x42;
  e.doCmdFlags = flags;
  e.ignoreFlags = ignore_flags;
  e.data = std::move(data);
  e.responses = std::move(responses);
  e.matchKind = 1;
  e.unusable = false;
  e.version = 1.5;
  return e;
}

struct MatchCase {
  const char* name;
  std::uint32_t command;
  std::uint32_t flags;
  std::string block;
  bool ignore_flags;
  bool matches;
};

class DoCommandMatch : public testing::TestWithParam<MatchCase> {};

// The flags, bit by bit, are FlagsCompareMaskTest's.
TEST_P(DoCommandMatch, CommandAndLeadingData) {
  const MatchCase& c = GetParam();
  DoCommandSR e = entry("ABCD", {{0, 0, "wxyz"}}, 0x001, c.ignore_flags);
  auto* block = reinterpret_cast<const std::uint8_t*>(c.block.data());
  EXPECT_EQ(e.Matches(c.command, c.flags, static_cast<std::int32_t>(c.block.size()), block),
            c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DoCommandMatch,
    testing::Values(MatchCase{"exact", 0x42, 0x001, "ABCD", false, true},
                    MatchCase{"longer_block", 0x42, 0x001, "ABCDEFGH", false, true},
                    MatchCase{"one_byte_short", 0x42, 0x001, "ABC", false, false},
                    MatchCase{"other_data", 0x42, 0x001, "ABCX", false, false},
                    MatchCase{"other_command", 0x43, 0x001, "ABCD", false, false}),
    rows::by_name);

TEST(DoCommandSRTest, EmptyDataMatchesAnyBlockOfTheCommand) {
  DoCommandSR e = entry("", {{0, 0, ""}});
  EXPECT_TRUE(e.Matches(0x42, 0x001, 0, nullptr));
  const std::uint8_t block[3] = {1, 2, 3};
  EXPECT_TRUE(e.Matches(0x42, 0x001, 3, block));
}

TEST(DoCommandSRTest, UnusableOrAnswerlessEntriesNeverMatch) {
  const std::uint8_t block[4] = {'A', 'B', 'C', 'D'};
  DoCommandSR unusable = entry("ABCD", {{0, 0, ""}});
  unusable.unusable = true;
  EXPECT_FALSE(unusable.Matches(0x42, 0x001, 4, block));
  DoCommandSR answerless = entry("ABCD", {});
  EXPECT_FALSE(answerless.Matches(0x42, 0x001, 4, block));
}

}  // namespace
}  // namespace tap
