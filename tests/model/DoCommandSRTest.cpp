#include "model/DoCommandSR.h"

#include <gtest/gtest.h>

#include <array>

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

TEST_P(DoCommandMatch, CommandMaskedFlagsAndLeadingData) {
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
                    MatchCase{"other_command", 0x43, 0x001, "ABCD", false, false},
                    MatchCase{"ignored_flag_bits", 0x42, 0x001 | 0x772, "ABCD", false, true},
                    MatchCase{"bit_0x001_differs", 0x42, 0x000, "ABCD", false, false},
                    MatchCase{"flags_ignored", 0x42, 0x000, "ABCD", true, true}),
    [](const testing::TestParamInfo<MatchCase>& info) { return std::string(info.param.name); });

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

TEST(DoCommandSRTest, ResponsesCycleAndCopyOverTheBlockStart) {
  DoCommandSR e = entry("", {{300, 0, "1234"}, {0, 7, ""}});
  std::array<std::uint8_t, 16> block{};
  block.fill('.');
  DoCommandSR::Answer a = e.AnswerDoCommand(block.data(), 16);
  EXPECT_EQ(a.returnValue, 0);
  EXPECT_EQ(a.wait, 300);
  EXPECT_EQ(std::string(block.begin(), block.end()), "1234............");
  block.fill('.');
  a = e.AnswerDoCommand(block.data(), 16);
  EXPECT_EQ(a.returnValue, 7);
  EXPECT_EQ(std::string(block.begin(), block.end()), std::string(16, '.'));
  a = e.AnswerDoCommand(block.data(), 16);
  EXPECT_EQ(a.returnValue, 0);
  EXPECT_EQ(e.currentResponse, 0);
}

TEST(DoCommandSRTest, CopyBackNeverPassesTheBlockSize) {
  DoCommandSR e = entry("", {{0, 0, "0123456789"}});
  std::array<std::uint8_t, 8> block{};
  block.fill('.');
  e.AnswerDoCommand(block.data(), 4);
  EXPECT_EQ(std::string(block.begin(), block.end()), "0123....");
}

}  // namespace
}  // namespace tap
