#include "platform/com/Guid.h"

#include <gtest/gtest.h>

namespace tap::com {
namespace {

TEST(Guid, ParsesTheRegistryFormFieldByField) {
  constexpr Guid g = Guid::parse("{0E59F1D5-1fbe-11D0-8FF2-00A0D10038BC}");
  EXPECT_EQ(g.data1, 0x0E59F1D5u);
  EXPECT_EQ(g.data2, 0x1FBEu);
  EXPECT_EQ(g.data3, 0x11D0u);
  const std::array<std::uint8_t, 8> data4{0x8F, 0xF2, 0x00, 0xA0, 0xD1, 0x00, 0x38, 0xBC};
  EXPECT_EQ(g.data4, data4);
}

}  // namespace
}  // namespace tap::com
