#include "model/ExactStringStimulus.h"

#include <gtest/gtest.h>

namespace tap {
namespace {

ExactStringStimulus make(std::string bytes, std::uint32_t flags, bool ignore_flags) {
  ExactStringStimulus::Fields f;
  f.bytes = std::move(bytes);
  f.readWriteFlags = flags;
  f.ignoreFlags = ignore_flags;
  f.actualWritten = 99;
  f.waitTime = 7;
  f.returnValue = 3;
  return ExactStringStimulus(f);
}

struct MatchCase {
  const char* name;
  std::string recorded;
  std::uint32_t recorded_flags;
  bool ignore_flags;
  std::string written;
  std::uint32_t flags;
  bool matches;
};

class ExactStringMatch : public testing::TestWithParam<MatchCase> {};

TEST_P(ExactStringMatch, ComparesLengthBytesAndMaskedFlags) {
  const MatchCase& c = GetParam();
  ExactStringStimulus s = make(c.recorded, c.recorded_flags, c.ignore_flags);
  EXPECT_EQ(s.Matches(nullptr, c.written, c.flags), c.matches);
}

const std::string kIdn = "*IDN?\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ExactStringMatch,
    testing::Values(
        MatchCase{"same", kIdn, 1, false, kIdn, 1, true},
        MatchCase{"flags_differ_in_ignored_bits", kIdn, 0x001, false, kIdn, 0x001 | 0x772, true},
        MatchCase{"flags_differ_in_bit_0x001", kIdn, 0x000, false, kIdn, 0x001, false},
        MatchCase{"flags_differ_in_bit_0x004", kIdn, 0x000, false, kIdn, 0x004, false},
        MatchCase{"flags_ignored", kIdn, 0x000, true, kIdn, 0x001, true},
        MatchCase{"trailing_byte", kIdn, 0, true, kIdn + "x", 0, false},
        MatchCase{"first_half", kIdn, 0, true, "*ID", 0, false},
        MatchCase{"one_byte_differs", kIdn, 0, true, "*IDN!\n", 0, false},
        MatchCase{"zero_bytes_count", std::string("a\0b", 3), 0, true, std::string("a\0b", 3), 0,
                  true},
        MatchCase{"zero_byte_differs", std::string("a\0b", 3), 0, true, std::string("a\0c", 3), 0,
                  false},
        MatchCase{"empty_matches_empty", "", 0, true, "", 0, true},
        MatchCase{"empty_refuses_bytes", "", 0, true, "x", 0, false}),
    [](const testing::TestParamInfo<MatchCase>& info) { return std::string(info.param.name); });

TEST(ExactStringStimulusTest, ExecuteReportsRecordedCountWhateverWasWritten) {
  ExactStringStimulus s = make(kIdn, 0, true);
  std::int32_t wait = 0;
  std::uint32_t actual = 0;
  EXPECT_EQ(s.Execute(nullptr, "anything longer than six", 0, 1000, wait, actual), 3);
  EXPECT_EQ(actual, 99u);
  EXPECT_EQ(wait, 7);
}

TEST(ExactStringStimulusTest, CloneIsDeepAndOfTheSameClass) {
  auto original = std::make_unique<ExactStringStimulus>(make(kIdn, 5, false));
  std::unique_ptr<Stimulus> copy = original->Clone();
  original.reset();
  auto* exact = dynamic_cast<ExactStringStimulus*>(copy.get());
  ASSERT_NE(exact, nullptr);
  EXPECT_EQ(exact->fields().bytes, kIdn);
  EXPECT_EQ(exact->fields().readWriteFlags, 5u);
  EXPECT_FALSE(exact->fields().ignoreFlags);
}

}  // namespace
}  // namespace tap
