#include "platform/com/variant_copy.h"

#include <gtest/gtest.h>

#include "platform/com/EnumVariant.h"
#include "platform/com/SafeArray.h"
#include "variant_text.h"

namespace tap::com {
namespace {

using namespace test;

Variant array_of(std::vector<Variant> items, std::int32_t lower = 0) {
  auto a = std::make_shared<SafeArray>(std::vector<ArrayBound>{{lower, static_cast<std::int32_t>(items.size())}});
  for (std::size_t i = 0; i < items.size(); ++i) a->data()[i] = std::move(items[i]);
  return Variant(a);
}

TEST(CopyIndirect, ByReferenceGivesTheValueItRefersTo) {
  Variant target = i4(5);
  Variant copy;
  ASSERT_EQ(copy_indirect(copy, Variant::by_ref(&target)), S_OK);
  target = i4(6);
  EXPECT_EQ(show(copy), "I4 5");
}

TEST(CopyIndirect, ArraysAreCopiedAtEveryLevelObjectsShared) {
  Ref<IDispatch> object(EnumVariant::over({}).get());
  Variant inner = array_of({ui1(1), ui1(2)});
  Variant outer = array_of({inner, Variant(object)}, 3);
  Variant copy;
  ASSERT_EQ(copy_indirect(copy, Variant::by_ref(&outer)), S_OK);
  ASSERT_TRUE(copy.is_array());
  EXPECT_NE(copy.array(), outer.array());
  EXPECT_EQ(copy.array()->lbound(0), 3);
  EXPECT_EQ(copy.array()->ubound(0), 4);
  inner.array()->data()[0] = ui1(99);
  const Variant& copied_inner = copy.array()->data()[0];
  ASSERT_TRUE(copied_inner.is_array());
  EXPECT_NE(copied_inner.array(), inner.array());
  EXPECT_EQ(show(copied_inner.array()->data()[0]), "UI1 1");
  EXPECT_EQ(copy.array()->data()[1].dispatch().get(), object.get());
}

TEST(CopyIndirect, NestingBeyondTheLimitFailsAndLeavesTheTarget) {
  Variant deep = array_of({i2(1)});
  for (int i = 0; i < max_copy_depth; ++i) deep = array_of({deep});
  Variant target = str("kept");
  EXPECT_EQ(copy_indirect(target, deep), E_OUTOFMEMORY);
  EXPECT_EQ(show(target), "BSTR kept");
}

}  // namespace
}  // namespace tap::com
