// What the golden script vbscript/builtins/dictionary.vbs echoes is not
// repeated here.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/com/Dispatch.h"
#include "platform/com/SafeArray.h"
#include "vbscript/ScriptError.h"
#include "vbscript/objects/object_registry.h"

namespace tap::vbs::test {
namespace {

using com::Variant;

// Calls members by name as a script would, reporting the script-visible
// error number (0 on success).
class DictionaryTest : public ::testing::Test {
 protected:
  com::Ref<com::IDispatch> dict = create_object_by_progid(u"scripting.dictionary");

  std::int32_t invoke(std::u16string_view name, com::InvokeFlags flags, std::vector<Variant> args,
                      Variant* result = nullptr) {
    com::DISPID id;
    if (com::failed(dict->GetIDsOfNames(name, &id))) return 438;
    com::ExcepInfo excep;
    com::HRESULT hr = dict->Invoke(id, flags, args, result, &excep);
    if (hr == com::DISP_E_EXCEPTION) hr = excep.scode;
    return com::succeeded(hr) ? 0 : error_number_from_hresult(hr);
  }
  Variant get(std::u16string_view name, std::vector<Variant> args = {}) {
    Variant out;
    EXPECT_EQ(invoke(name, com::DISPATCH_METHOD | com::DISPATCH_PROPERTYGET, std::move(args), &out), 0);
    return out;
  }
  std::int32_t add(Variant key, Variant item) { return invoke(u"Add", com::DISPATCH_METHOD, {key, item}); }
  std::int32_t count() { return get(u"Count").i4(); }
  std::vector<std::u16string> keys() {
    std::vector<std::u16string> out;
    Variant arr = get(u"Keys");
    for (const Variant& k : arr.array()->data()) out.push_back(k.vt() == com::VT_BSTR ? k.bstr().str() : u"?");
    return out;
  }
};

TEST_F(DictionaryTest, CreatedByProgIdOnly) {
  ASSERT_TRUE(dict);
  EXPECT_EQ(dict->type_name(), u"Dictionary");
  EXPECT_FALSE(create_object_by_progid(u"Scripting.FileSystemObject"));
  EXPECT_FALSE(create_builtin_class(u"Dictionary"));
}

TEST_F(DictionaryTest, AddRejectsDuplicatesAcrossNumericTypes) {
  EXPECT_EQ(add(Variant(std::int16_t{1}), Variant(u"one")), 0);
  EXPECT_EQ(add(Variant(1.0), Variant(u"again")), 457);
  EXPECT_EQ(add(Variant(com::Currency{10000}), Variant(u"again")), 457);
  EXPECT_EQ(add(Variant(u"1"), Variant(u"text one")), 0);
  EXPECT_EQ(count(), 2);
  EXPECT_EQ(get(u"Item", {Variant(std::int32_t{1})}).bstr(), com::BStr(u"one"));
  EXPECT_EQ(get(u"Item", {Variant(u"1")}).bstr(), com::BStr(u"text one"));
}

TEST_F(DictionaryTest, ItemPutReplacesTheItem) {
  add(Variant(u"k"), Variant(std::int32_t{5}));
  EXPECT_EQ(invoke(u"Item", com::DISPATCH_PROPERTYPUT, {Variant(u"k"), Variant(std::int32_t{6})}), 0);
  EXPECT_EQ(get(u"Item", {Variant(u"k")}).i4(), 6);
  EXPECT_EQ(count(), 1);
}

TEST_F(DictionaryTest, RenameToAPresentOrFromAMissingKeyFails) {
  for (const char16_t* k : {u"a", u"c"}) add(Variant(k), Variant(k));
  EXPECT_EQ(invoke(u"Key", com::DISPATCH_PROPERTYPUT, {Variant(u"a"), Variant(u"c")}), 457);
  EXPECT_EQ(invoke(u"Key", com::DISPATCH_PROPERTYPUT, {Variant(u"q"), Variant(u"r")}), 32811);
  EXPECT_EQ(keys(), (std::vector<std::u16string>{u"a", u"c"}));
}

TEST_F(DictionaryTest, CompareModeDecidesWhetherKeysDifferingInCaseCollide) {
  EXPECT_EQ(invoke(u"CompareMode", com::DISPATCH_PROPERTYPUT, {Variant(std::int16_t{1})}), 0);
  add(Variant(u"Key"), Variant(std::int16_t{1}));
  EXPECT_EQ(add(Variant(u"KEY"), Variant(std::int16_t{2})), 457);
  dict = create_object_by_progid(u"Scripting.Dictionary");
  add(Variant(u"Key"), Variant());
  EXPECT_EQ(add(Variant(u"KEY"), Variant()), 0);
  EXPECT_FALSE(get(u"Exists", {Variant(u"key")}).boolean());
}

TEST_F(DictionaryTest, ObjectsAreKeysByIdentityArraysAreNot) {
  com::Ref<com::IDispatch> other = create_object_by_progid(u"Scripting.Dictionary");
  EXPECT_EQ(add(Variant(other), Variant(u"obj")), 0);
  EXPECT_EQ(add(Variant(create_object_by_progid(u"Scripting.Dictionary")), Variant()), 0);
  EXPECT_EQ(add(Variant(other), Variant()), 457);
  auto arr = std::make_shared<com::SafeArray>(std::vector<com::ArrayBound>{{0, 1}});
  EXPECT_EQ(add(Variant(arr), Variant()), 13);
}

TEST_F(DictionaryTest, NewEnumWalksASnapshotOfTheKeys) {
  for (const char16_t* k : {u"x", u"y"}) add(Variant(k), Variant());
  Variant e = get(u"_NewEnum");
  ASSERT_EQ(e.vt(), com::VT_DISPATCH);
  auto* walker = dynamic_cast<com::IEnumVARIANT*>(e.dispatch().get());
  ASSERT_NE(walker, nullptr);
  invoke(u"RemoveAll", com::DISPATCH_METHOD, {});
  std::vector<std::u16string> seen;
  Variant item;
  while (walker->Next(&item) == com::S_OK) seen.push_back(item.bstr().str());
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"x", u"y"}));
}

TEST_F(DictionaryTest, ByRefArgumentsAreReadThrough) {
  Variant key(u"k");
  Variant value(std::int32_t{3});
  EXPECT_EQ(add(Variant::by_ref(&key), Variant::by_ref(&value)), 0);
  value = Variant(std::int32_t{4});
  EXPECT_EQ(get(u"Item", {Variant(u"k")}).i4(), 3);
  EXPECT_EQ(keys(), std::vector<std::u16string>{u"k"});
}

TEST_F(DictionaryTest, WrongArgumentCountsFail) {
  EXPECT_EQ(invoke(u"Add", com::DISPATCH_METHOD, {Variant(u"k")}), 450);
  EXPECT_EQ(invoke(u"Exists", com::DISPATCH_METHOD, {}), 450);
  EXPECT_EQ(invoke(u"NoSuchMember", com::DISPATCH_METHOD, {}), 438);
}

}  // namespace
}  // namespace tap::vbs::test
