#include "playfile/number_text.h"

#include <gtest/gtest.h>

namespace tap {
namespace {

TEST(NumberTextTest, I4) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {"0", 0},
      {"-1", -1},
      {" 42 ", 42},
      {"+7", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"4294967295", std::nullopt},
      {"", std::nullopt},
      {"+-1", std::nullopt},
      {"12a", std::nullopt},
      {"1.5", std::nullopt},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(parse_i4(text), expected) << text;
}

TEST(NumberTextTest, Version) {
  const std::pair<const char*, std::optional<double>> cases[] = {
      {"1.5", 1.5}, {"1.6", 1.6}, {"2", 2.0}, {" 1.0 ", 1.0}, {"", std::nullopt}, {"v1", std::nullopt},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(parse_version(text), expected) << text;
  EXPECT_GT(*parse_version("1.6"), 1.5);
  EXPECT_FALSE(*parse_version("1.5") > 1.5);
}

}  // namespace
}  // namespace tap
