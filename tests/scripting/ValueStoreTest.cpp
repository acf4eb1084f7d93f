#include "scripting/ValueStore.h"

#include <gtest/gtest.h>

#include "platform/com/DispatchTable.h"
#include "platform/com/variant_text.h"
#include "script_run.h"

namespace tap {
namespace {

using com::Variant;
using com::test::narrow;
using com::test::show;

// An object whose default property must not be asked for a key.
class Valued : public com::DispatchObject<Valued> {
 public:
  static const com::DispatchTable<Valued>& dispatch_table() {
    static const com::DispatchTable<Valued> table(
        u"Valued", {{u"Value", com::DISPID_VALUE, com::DISPATCH_PROPERTYGET, &Valued::get}});
    return table;
  }
  int calls = 0;

 private:
  com::HRESULT get(com::DispatchCall& call) {
    call.result = Variant(std::int32_t{++calls});
    return com::S_OK;
  }
};

TEST(ValueStoreTest, KeysAreTheEnglishTextUpToTheFirstZero) {
  Variant seven(std::int32_t{7});
  const std::pair<Variant, const char*> cases[] = {
      {Variant::by_ref(&seven), "7"}, {Variant(1.5), "1.5"}, {Variant(true), "True"},
      {Variant(std::u16string(u"a\0b", 3)), "a"}, {Variant(u"\u03A9\u20AC"), "?\x80"}, {Variant(), ""}};
  for (const auto& [cookie, expected] : cases) {
    std::string key = "untouched";
    EXPECT_EQ(ValueStore::MakeKey(cookie, &key), com::S_OK) << expected;
    EXPECT_EQ(key, expected);
  }
}

TEST(ValueStoreTest, NullAndObjectsMakeNoKey) {
  com::Ref<Valued> object = com::make_ref<Valued>();
  ValueStore store;
  for (const Variant& cookie : {Variant::null(), Variant(com::Ref<com::IDispatch>(object))}) {
    EXPECT_EQ(store.Store(cookie, Variant(1)), com::DISP_E_TYPEMISMATCH);
    Variant out(u"as passed");
    EXPECT_EQ(store.Get(cookie, &out), com::S_OK);
    EXPECT_EQ(show(out), "BSTR as passed");
  }
  EXPECT_TRUE(store.current().empty());
  EXPECT_EQ(object->calls, 0);
}

class ValueStoreScriptTest : public testing::Test, public test::ScriptRun {
 protected:
  void SetUp() override { data.SetWriteContext(0, 0, ""); }
};

TEST_F(ValueStoreScriptTest, ScriptsStoreAndReadBack) {
  struct Case {
    const char16_t* setup;
    const char16_t* expr;
    const char* shown;
  };
  const Case cases[] = {
      {u"PlaybackEngine.StoreValue \"A\", 1", u"PlaybackEngine.GetValue(\"a\")", "NULL"},
      {u"PlaybackEngine.StoreValue \"k\", 1\nPlaybackEngine.StoreValue \"k\", \"two\"",
       u"PlaybackEngine.GetValue(\"k\")", "BSTR two"},
      {u"", u"IsEmpty(PlaybackEngine.GetValue(Null))", "BOOL True"},
  };
  for (const Case& c : cases) {
    data.values.Reset(false);
    EXPECT_EQ(show(Eval(c.expr, c.setup)), c.shown) << narrow(c.setup);
  }
  EXPECT_EQ(RunScript(u"PlaybackEngine.StoreValue Null, 1").number, 13);
}

// The store keeps its own copies: of the variable's value, not the
// variable, and of arrays, element by element.
TEST_F(ValueStoreScriptTest, StoredValuesAreSeparateFromTheScriptsVariables) {
  ASSERT_TRUE(RunScript(u"x = 5\nPlaybackEngine.StoreValue \"x\", x\nx = 6\n"
                        u"Dim a(2)\na(0) = CByte(1): a(1) = CByte(2): a(2) = CByte(3)\n"
                        u"PlaybackEngine.StoreValue \"bytes\", a\na(0) = CByte(99)\n"
                        u"b = PlaybackEngine.GetValue(\"bytes\")\nb(1) = CByte(77)")
                  .ok());
  EXPECT_EQ(show(Eval(u"PlaybackEngine.GetValue(\"x\")")), "I2 5");
  EXPECT_EQ(show(Eval(u"Join(c, \",\") & \" \" & TypeName(c(0))", u"c = PlaybackEngine.GetValue(\"bytes\")")),
            "BSTR 1,2,3 Byte");
}

TEST_F(ValueStoreScriptTest, ResetEmptiesTheStoreOrReturnsItToTheInitialValues) {
  PlaybackServerData::ValueMap initial;
  initial.emplace("mode", Variant(u"initial"));
  initial.emplace("count", Variant(u"0"));
  data.InitStoredValues(initial);
  const std::u16string changes = u"PlaybackEngine.StoreValue \"mode\", \"changed\"\nPlaybackEngine.StoreValue \"new\", 1\n";
  const char16_t* probe = u"PlaybackEngine.GetValue(\"mode\") & \" \" & TypeName(PlaybackEngine.GetValue(\"new\"))";

  ASSERT_TRUE(RunScript(changes + u"PlaybackEngine.ResetValues True").ok());
  EXPECT_EQ(show(Eval(probe)), "BSTR initial Null");
  EXPECT_EQ(data.values.current().size(), 2u);
  ASSERT_TRUE(RunScript(changes + u"PlaybackEngine.ResetValues False").ok());
  EXPECT_TRUE(data.values.current().empty());
  // The defaults outlive a reset to nothing.
  ASSERT_TRUE(RunScript(u"PlaybackEngine.ResetValues -1").ok());
  EXPECT_EQ(show(Eval(probe)), "BSTR initial Null");
}

}  // namespace
}  // namespace tap
