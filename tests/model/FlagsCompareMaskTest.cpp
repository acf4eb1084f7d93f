// Every bit of the flags, one at a time, through each kind of matcher: a bit
// inside the compare mask refuses the call, a bit outside it never does, and
// a scripted stimulus refused by its flags never reaches its pattern.
#include <gtest/gtest.h>

#include "model/DoCommandSR.h"
#include "model/ExactStringStimulus.h"
#include "model/ScriptSession.h"
#include "model/VBScriptStimulus.h"

namespace tap {
namespace {

// Bits 0x002, 0x010, 0x020, 0x040, 0x100, 0x200 and 0x400 vary between
// otherwise identical calls and take no part.
constexpr std::uint32_t kIgnoredBits = 0x772;

class CountingSession : public ScriptSession {
 public:
  bool MatchRegExp(std::string_view, std::string_view, bool) override {
    ++matches;
    return true;
  }
  WriteResults RunWriteScript(const std::string&, std::int32_t, std::uint32_t, std::int32_t,
                              std::string_view) override {
    return {};
  }
  int matches = 0;
};

constexpr std::uint32_t kRecorded = 0x5;  // two bits set, so clearing one is tested too

class EachFlagBit : public testing::TestWithParam<int> {
 protected:
  std::uint32_t bit() const { return 1u << GetParam(); }
  bool counts() const { return (bit() & kIgnoredBits) == 0; }
};

TEST_P(EachFlagBit, ExactStringStimulus) {
  ExactStringStimulus::Fields f;
  f.bytes = "X";
  f.readWriteFlags = kRecorded;
  f.ignoreFlags = false;
  ExactStringStimulus s(f);
  EXPECT_EQ(s.Matches(nullptr, "X", kRecorded ^ bit()), !counts());
  f.ignoreFlags = true;
  EXPECT_TRUE(ExactStringStimulus(f).Matches(nullptr, "X", kRecorded ^ bit()));
}

TEST_P(EachFlagBit, VBScriptStimulusTriesItsPatternOnlyWhenTheFlagsAgree) {
  VBScriptStimulus::Fields f;
  f.patternString = "X";
  f.readWriteFlags = kRecorded;
  f.ignoreFlags = false;
  CountingSession session;
  EXPECT_EQ(VBScriptStimulus(f).Matches(&session, "X", kRecorded ^ bit()), !counts());
  EXPECT_EQ(session.matches, counts() ? 0 : 1);
  f.ignoreFlags = true;
  EXPECT_TRUE(VBScriptStimulus(f).Matches(&session, "X", kRecorded ^ bit()));
}

TEST_P(EachFlagBit, DoCommandEntry) {
  DoCommandSR e;
  e.command = 7;
  e.doCmdFlags = kRecorded;
  e.ignoreFlags = false;
  e.responses = {{0, 0, ""}};
  e.matchKind = 1;
  e.unusable = false;
  EXPECT_EQ(e.Matches(7, kRecorded ^ bit(), 0, nullptr), !counts());
  e.ignoreFlags = true;
  EXPECT_TRUE(e.Matches(7, kRecorded ^ bit(), 0, nullptr));
}

INSTANTIATE_TEST_SUITE_P(Bits, EachFlagBit, testing::Range(0, 32),
                         [](const testing::TestParamInfo<int>& info) {
                           return "bit" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace tap
