#include "diag/resource_string.h"

#include <gtest/gtest.h>

namespace tap {
namespace {

struct MessageCase {
  std::uint32_t id;
  const char* text;
};

class MessageTable : public testing::TestWithParam<MessageCase> {};

TEST_P(MessageTable, HandsOutTheTextInTheAnsiCodePage) {
  resource_string s(GetParam().id);
  ASSERT_NE(s.ansi(), nullptr);
  EXPECT_STREQ(s.ansi(), GetParam().text);
  EXPECT_TRUE(s.loaded());
}

INSTANTIATE_TEST_SUITE_P(
    Messages, MessageTable,
    testing::Values(
        MessageCase{1, "Initialization of the playback engine's scripting system failed."},
        MessageCase{2, "Out Of Memory"},
        MessageCase{3, "An internal error occurred in the playback varnel driver."},
        MessageCase{4, "Tarvena I/O Playback/Record Varnel Driver"}));

TEST(ResourceString, AbsentIdentifierStaysUnloadedAndRetries) {
  for (std::uint32_t id : {0u, 5u, 7u, 15u, 16u}) {
    resource_string s(id, resource_string::no_fallback);
    EXPECT_EQ(s.ansi(), nullptr) << id;
    EXPECT_FALSE(s.loaded());
    EXPECT_EQ(s.wide(), nullptr);
    EXPECT_FALSE(s.load());
  }
}

TEST(ResourceString, FallbackServesWhenThePrimaryIsAbsent) {
  resource_string s(7, 4);
  ASSERT_NE(s.ansi(), nullptr);
  EXPECT_STREQ(s.ansi(), "Tarvena I/O Playback/Record Varnel Driver");
}

TEST(ResourceString, ConstructionLoadsNothingAndCopiesAreIndependent) {
  resource_string s(4);
  EXPECT_FALSE(s.loaded());
  std::string copy = s.ansi();
  {
    resource_string other(4);
    EXPECT_EQ(std::u16string(other.wide()), u"Tarvena I/O Playback/Record Varnel Driver");
  }
  EXPECT_EQ(copy, s.ansi());
}

}  // namespace
}  // namespace tap
