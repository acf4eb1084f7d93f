#include "platform/com/Variant.h"

#include <gtest/gtest.h>

#include "platform/com/Dispatch.h"
#include "platform/com/operators.h"
#include "variant_text.h"

namespace tap::com {
namespace {

using namespace test;

TEST(BStr, NullIsDistinctFromEmptyButComparesEqual) {
  BStr null;
  BStr empty(u"");
  BStr from_nullptr(static_cast<const char16_t*>(nullptr));
  EXPECT_TRUE(null.is_null());
  EXPECT_TRUE(from_nullptr.is_null());
  EXPECT_FALSE(empty.is_null());
  EXPECT_TRUE(null.empty());
  EXPECT_EQ(null, empty);  // as VBScript's = sees them
  EXPECT_EQ(null.str(), u"");
}

TEST(BStr, KeepsEmbeddedZeroCharacters) {
  BStr text(std::u16string(u"a\0b\0", 4));
  EXPECT_EQ(text.size(), 4u);
  EXPECT_EQ(text[1], u'\0');
  EXPECT_EQ(text[2], u'b');
  Variant doubled;
  ASSERT_EQ(var_cat(Variant(text), Variant(text), &doubled), S_OK);
  EXPECT_EQ(doubled.bstr().size(), 8u);
}

TEST(BStr, GrowsInPlaceOnlyWhenNoOtherHolderCanSeeIt) {
  const BStr parts[] = {BStr(u"c"), BStr(u"de")};
  BStr sole(u"ab");
  ASSERT_TRUE(sole.append_if_sole_owner(parts));
  EXPECT_EQ(sole.view(), u"abcde");
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(sole.append_if_sole_owner(std::span<const BStr>(parts, 1)));
  EXPECT_EQ(sole.size(), 1005u);
  EXPECT_EQ(sole.view().substr(995), u"cccccccccc");

  BStr shared(u"ab");
  BStr copy = shared;
  EXPECT_FALSE(shared.append_if_sole_owner(parts));
  EXPECT_EQ(shared.view(), u"ab");
  EXPECT_EQ(copy.view(), u"ab");
  EXPECT_TRUE(shared.shares_buffer_with(copy));

  BStr null;
  EXPECT_FALSE(null.append_if_sole_owner(parts));
  EXPECT_TRUE(null.is_null());
  EXPECT_FALSE(null.shares_buffer_with(BStr()));
}

TEST(Variant, MissingIsAnErrorValueSeenThroughReferences) {
  Variant m = Variant::missing();
  EXPECT_EQ(m.vt(), VT_ERROR);
  EXPECT_EQ(m.scode(), DISP_E_PARAMNOTFOUND);
  EXPECT_TRUE(m.is_missing());
  EXPECT_TRUE(Variant::by_ref(&m).is_missing());
  EXPECT_FALSE(Variant::error(5).is_missing());
  EXPECT_FALSE(Variant().is_missing());
}

TEST(Variant, ByRefChainsReachTheVariable) {
  Variant target = i2(1);
  Variant ref1 = Variant::by_ref(&target);
  Variant ref2 = Variant::by_ref(&ref1);
  ref2.deref() = str("changed");
  EXPECT_EQ(show(target), "BSTR changed");
  EXPECT_EQ(ref2.vt(), VT_BYREF | VT_VARIANT);
}

TEST(Variant, ObjectsAreCountedReferences) {
  struct Probe : IEnumVARIANT {
    HRESULT Next(Variant*) override { return S_FALSE; }
    HRESULT Reset() override { return S_OK; }
  };
  Ref<IDispatch> obj(new Probe);
  EXPECT_EQ(obj->ref_count(), 1u);
  {
    Variant a(obj);
    Variant b = a;
    EXPECT_EQ(obj->ref_count(), 3u);
    EXPECT_TRUE(b.is_object());
  }
  EXPECT_EQ(obj->ref_count(), 1u);
  Variant nothing{Ref<IDispatch>()};
  EXPECT_EQ(nothing.vt(), VT_DISPATCH);
  EXPECT_FALSE(nothing.dispatch());
}

}  // namespace
}  // namespace tap::com
