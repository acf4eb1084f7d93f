#include "scripting/StringCollection.h"

#include <gtest/gtest.h>

#include "platform/com/Dispatch.h"
#include "platform/com/variant_text.h"
#include "script_run.h"

namespace tap {
namespace {

using com::Variant;
using com::test::narrow;
using com::test::show;

class StringCollectionTest : public testing::Test, public test::ScriptRun {
 protected:
  void SetUp() override { data.SetWriteContext(0, 0, "MEAS:VOLT 12,AB"); }
};

TEST_F(StringCollectionTest, ForEachWalksTheCapturesInOrder) {
  data.captures = {"12", "", std::string("A\0B", 3)};
  EXPECT_EQ(show(Eval(u"s", u"For Each c In PlaybackEngine.WriteRegExpMatches\ns = s & \"[\" & c & \"]\"\nNext")),
            "BSTR [12][][A]");
}

TEST_F(StringCollectionTest, WalkingAnEmptyCollectionFailsAtTheFirstStep) {
  vbs::ScriptResult r = RunScript(u"For Each c In PlaybackEngine.WriteRegExpMatches\n"
                                  u"PlaybackEngine.StoreValue \"body\", 1\nNext\nPlaybackEngine.StoreValue \"after\", 1");
  EXPECT_EQ(r.number, com::E_FAIL);
  EXPECT_TRUE(data.values.current().empty());
}

// Count, Item by number and the out-of-range indexes are checked through the
// driver; an index given as text converts.
TEST_F(StringCollectionTest, ItemIndexGivenAsTextConverts) {
  data.captures = {"12", "AB"};
  EXPECT_EQ(show(Eval(u"PlaybackEngine.WriteRegExpMatches.Item(\"2\")")), "BSTR AB");
}

// Each read makes a new collection of the captures as they are then; one
// handed out, and its enumerator, keep what they had.
TEST_F(StringCollectionTest, CollectionsAreSnapshots) {
  data.captures = {"old"};
  Variant m, en, count, item;
  ASSERT_EQ(server->Invoke(19, com::DISPATCH_PROPERTYGET, {}, &m, nullptr), com::S_OK);
  ASSERT_EQ(m.dispatch()->Invoke(com::DISPID_NEWENUM, com::DISPATCH_PROPERTYGET, {}, &en, nullptr), com::S_OK);
  data.captures = {"new", "more"};
  ASSERT_EQ(m.dispatch()->Invoke(0x60020000, com::DISPATCH_PROPERTYGET, {}, &count, nullptr), com::S_OK);
  EXPECT_EQ(show(count), "I4 1");
  m = Variant();  // the enumerator outlives its collection
  auto* walk = dynamic_cast<com::IEnumVARIANT*>(en.dispatch().get());
  ASSERT_NE(walk, nullptr);
  ASSERT_EQ(walk->Next(&item), com::S_OK);
  EXPECT_EQ(show(item), "BSTR old");
  EXPECT_EQ(walk->Next(&item), com::S_FALSE);
}

TEST(StringCollectionDispatch, MembersHaveTheCollectionDispids) {
  com::Ref<StringCollection> c = com::make_ref<StringCollection>();
  for (const auto& [name, expected] :
       {std::pair{u"count", com::DISPID{0x60020000}}, {u"ITEM", com::DISPID_VALUE}, {u"_NewEnum", com::DISPID_NEWENUM}}) {
    com::DISPID id = 1;
    EXPECT_EQ(c->GetIDsOfNames(name, &id), com::S_OK);
    EXPECT_EQ(id, expected) << narrow(name);
  }
}

}  // namespace
}  // namespace tap
