#include "model/ExactStringStimulus.h"

#include <gtest/gtest.h>

#include "support/case_name.h"

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

// The flags, bit by bit, are FlagsCompareMaskTest's.
TEST_P(ExactStringMatch, ComparesLengthAndBytes) {
  const MatchCase& c = GetParam();
  ExactStringStimulus s = make(c.recorded, c.recorded_flags, c.ignore_flags);
  EXPECT_EQ(s.Matches(nullptr, c.written, c.flags), c.matches);
}

const std::string kIdn = "*IDN?\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ExactStringMatch,
    testing::Values(
        MatchCase{"same", kIdn, 1, false, kIdn, 1, true},
        MatchCase{"trailing_byte", kIdn, 0, true, kIdn + "x", 0, false},
        MatchCase{"first_half", kIdn, 0, true, "*ID", 0, false},
        MatchCase{"one_byte_differs", kIdn, 0, true, "*IDN!\n", 0, false},
        MatchCase{"zero_bytes_count", std::string("a\0b", 3), 0, true, std::string("a\0b", 3), 0,
                  true},
        MatchCase{"zero_byte_differs", std::string("a\0b", 3), 0, true, std::string("a\0c", 3), 0,
                  false},
        MatchCase{"empty_matches_empty", "", 0, true, "", 0, true},
        MatchCase{"empty_refuses_bytes", "", 0, true, "x", 0, false}),
    rows::by_name);

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
