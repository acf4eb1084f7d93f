#include "platform/com/SafeArray.h"

#include <gtest/gtest.h>

#include "variant_text.h"

namespace tap::com {
namespace {

using namespace test;

TEST(SafeArray, IndexesEveryDimensionWithItsLowerBound) {
  SafeArray a({{1, 3}, {-2, 2}});  // (1 To 3, -2 To -1)
  EXPECT_EQ(a.size(), 6u);
  EXPECT_EQ(a.lbound(0), 1);
  EXPECT_EQ(a.ubound(0), 3);
  EXPECT_EQ(a.lbound(1), -2);
  EXPECT_EQ(a.ubound(1), -1);
  int n = 0;
  for (std::int32_t j = -2; j <= -1; ++j)
    for (std::int32_t i = 1; i <= 3; ++i) {
      Variant* e;
      std::int32_t idx[] = {i, j};
      ASSERT_EQ(a.element(idx, &e), S_OK);
      *e = i4(n++);
    }
  // The first dimension varies fastest in storage.
  for (int k = 0; k < 6; ++k) EXPECT_EQ(show(a.data()[static_cast<std::size_t>(k)]), "I4 " + std::to_string(k));
}

TEST(SafeArray, RejectsIndexesOutOfRange) {
  SafeArray a({{0, 3}, {1, 2}});
  Variant* e;
  const std::vector<std::vector<std::int32_t>> bad = {{3, 1}, {-1, 1}, {0, 0}, {0, 3}, {0}, {0, 1, 0}, {INT32_MIN, 1}};
  for (const auto& idx : bad) EXPECT_EQ(a.element(idx, &e), DISP_E_BADINDEX) << idx.size();
  std::int32_t ok[] = {2, 2};
  EXPECT_EQ(a.element(ok, &e), S_OK);
}

TEST(SafeArray, EmptyArrayHasUpperBoundBelowLower) {
  SafeArray a({{0, 0}});
  EXPECT_EQ(a.size(), 0u);
  EXPECT_EQ(a.ubound(0), -1);
  Variant* e;
  std::int32_t idx[] = {0};
  EXPECT_EQ(a.element(idx, &e), DISP_E_BADINDEX);
}

TEST(SafeArray, RedimPreserveKeepsElementsAndChangesOnlyTheLastDimension) {
  SafeArray a({{0, 2}, {0, 2}});
  for (int k = 0; k < 4; ++k) a.data()[static_cast<std::size_t>(k)] = i2(k);
  ASSERT_EQ(a.redim({{0, 2}, {0, 3}}, true), S_OK);
  ASSERT_EQ(a.size(), 6u);
  Variant* e;
  std::int32_t last[] = {1, 1};
  ASSERT_EQ(a.element(last, &e), S_OK);
  EXPECT_EQ(show(*e), "I2 3");
  std::int32_t added[] = {1, 2};
  ASSERT_EQ(a.element(added, &e), S_OK);
  EXPECT_TRUE(e->is_empty());

  ASSERT_EQ(a.redim({{0, 2}, {0, 1}}, true), S_OK);  // shrinking drops the tail
  EXPECT_EQ(a.size(), 2u);
  EXPECT_EQ(show(a.data()[1]), "I2 1");

  EXPECT_EQ(a.redim({{0, 3}, {0, 1}}, true), DISP_E_BADINDEX);  // not the last dimension
  EXPECT_EQ(a.redim({{0, 2}, {1, 1}}, true), DISP_E_BADINDEX);  // lower bound moved
  EXPECT_EQ(a.redim({{0, 2}}, true), DISP_E_BADINDEX);          // dimension count changed
  EXPECT_EQ(a.size(), 2u);
}

TEST(SafeArray, RedimWithoutPreserveClears) {
  SafeArray a({{0, 2}});
  a.data()[0] = i2(1);
  ASSERT_EQ(a.redim({{0, 3}, {0, 3}}, false), S_OK);
  EXPECT_EQ(a.dimensions(), 2u);
  EXPECT_EQ(a.size(), 9u);
  for (const Variant& v : a.data()) EXPECT_TRUE(v.is_empty());
}

TEST(SafeArray, FixedAndLockedArraysRefuseRedim) {
  SafeArray fixed({{0, 4}}, true);
  EXPECT_EQ(fixed.redim({{0, 5}}, true), DISP_E_ARRAYISLOCKED);
  SafeArray a({{0, 4}});
  a.lock();
  a.lock();
  EXPECT_EQ(a.redim({{0, 5}}, false), DISP_E_ARRAYISLOCKED);
  a.unlock();
  EXPECT_TRUE(a.locked());
  a.unlock();
  a.unlock();  // an extra unlock must not go negative
  EXPECT_FALSE(a.locked());
  EXPECT_EQ(a.redim({{0, 5}}, false), S_OK);
}

TEST(SafeArray, SizeLimits) {
  std::shared_ptr<SafeArray> a;
  EXPECT_EQ(SafeArray::create({{0, 1 << 13}, {0, 1 << 13}}, false, &a), E_OUTOFMEMORY);
  EXPECT_EQ(SafeArray::create({{0, 65536}, {0, 65536}, {0, 65536}}, false, &a), E_OUTOFMEMORY);
  EXPECT_EQ(SafeArray::create({{0, -1}}, false, &a), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArray::create({}, false, &a), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArray::create({{INT32_MAX, 2}}, false, &a), DISP_E_BADINDEX);
  ASSERT_EQ(SafeArray::create({{0, 10}, {5, 0}}, true, &a), S_OK);
  EXPECT_EQ(a->size(), 0u);
  EXPECT_TRUE(a->fixed());
  SafeArray b({{0, 4}});
  EXPECT_EQ(b.redim({{0, 1 << 25}}, true), E_OUTOFMEMORY);
  EXPECT_EQ(b.size(), 4u);
  EXPECT_THROW(SafeArray({{0, 1 << 25}}), std::bad_alloc);
}

TEST(SafeArray, VariantHoldsAnArray) {
  auto a = std::make_shared<SafeArray>(std::vector<ArrayBound>{{0, 2}});
  Variant v(a);
  EXPECT_EQ(v.vt(), VT_ARRAY | VT_VARIANT);
  EXPECT_TRUE(v.is_array());
  Variant copy = v;  // copies share the array, as VBScript's Set of an array element does not
  EXPECT_EQ(copy.array().get(), a.get());
}

}  // namespace
}  // namespace tap::com
