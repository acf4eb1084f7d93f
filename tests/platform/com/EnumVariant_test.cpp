// The batch form of Next, as callers that fetch several items at once use it.
#include "platform/com/EnumVariant.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "variant_text.h"

namespace tap::com {
namespace {

using namespace test;

TEST(EnumVariantBatch, NextFetchesUpToTheItemsLeft) {
  struct Case {
    bool has_items;
    std::uint32_t skip;
    std::uint32_t count;
    bool with_fetched;
    HRESULT hr;
    std::vector<std::string> got;
  };
  const Case cases[] = {
      {true, 0, 2, true, S_OK, {"I2 1", "I2 2"}},
      {true, 1, 5, true, S_FALSE, {"I2 2", "I2 3"}},
      {true, 3, 1, true, S_FALSE, {}},
      {true, 0, 1, false, S_OK, {"I2 1"}},
      {true, 0, 2, false, E_POINTER, {}},
      {true, 0, 0, true, E_INVALIDARG, {}},
      {false, 0, 1, true, E_FAIL, {}},
  };
  for (const Case& c : cases) {
    Ref<EnumVariant> e = c.has_items ? EnumVariant::over({i2(1), i2(2), i2(3)}) : make_ref<EnumVariant>(nullptr);
    if (c.skip) e->Skip(c.skip);
    Variant out[5];
    std::uint32_t fetched = 99;
    EXPECT_EQ(e->Next(c.count, out, c.with_fetched ? &fetched : nullptr), c.hr) << c.count;
    if (c.with_fetched) {
      EXPECT_EQ(fetched, c.got.size());
    }
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(show(out[i]), i < c.got.size() ? c.got[i] : "EMPTY");
  }
  // The position moves by what was fetched.
  Ref<EnumVariant> e = EnumVariant::over({i2(1), i2(2), i2(3)});
  Variant out[2], last;
  std::uint32_t fetched = 0;
  ASSERT_EQ(e->Next(2, out, &fetched), S_OK);
  ASSERT_EQ(e->Next(&last), S_OK);
  EXPECT_EQ(show(last), "I2 3");
}

}  // namespace
}  // namespace tap::com
