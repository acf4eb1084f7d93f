#include "platform/com/DispatchTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/EnumVariant.h"
#include "platform/com/operators.h"
#include "variant_text.h"

namespace tap::com {
namespace {

using namespace test;

// A small object described by a table, as the scripting objects are.
class Counter : public DispatchObject<Counter> {
 public:
  static const DispatchTable<Counter>& dispatch_table() {
    static const DispatchTable<Counter> table(u"Counter", {
        {u"Value", 0, DISPATCH_PROPERTYGET, &Counter::get_value},
        {u"Value", 0, DISPATCH_PROPERTYPUT, &Counter::put_value, {VT_I4}},
        {u"Label", 1, DISPATCH_PROPERTYGET, &Counter::get_label},
        {u"Label", 1, DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF, &Counter::put_label, {VT_BSTR}},
        {u"Add", 2, DISPATCH_METHOD, &Counter::add, {VT_I2, optional(VT_I2)}},
        {u"Swap", 3, DISPATCH_METHOD, &Counter::swap, {VT_VARIANT}},
        {u"Fail", 4, DISPATCH_METHOD, &Counter::fail},
        {u"_NewEnum", DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &Counter::new_enum},
    });
    return table;
  }

  std::int32_t value = 0;
  std::u16string label;

 private:
  HRESULT get_value(DispatchCall& c) { c.result = Variant(value); return S_OK; }
  HRESULT put_value(DispatchCall& c) { value = c.args[0].i4(); return S_OK; }
  HRESULT get_label(DispatchCall& c) { c.result = Variant(label); return S_OK; }
  HRESULT put_label(DispatchCall& c) { label = c.args[0].bstr().str(); return S_OK; }
  HRESULT add(DispatchCall& c) {
    value += c.args[0].i2() * (c.args[1].is_missing() ? 1 : c.args[1].i2());
    c.result = Variant(value);
    return S_OK;
  }
  HRESULT swap(DispatchCall& c) {
    // ByRef arguments are written through.
    Variant& target = c.args[0].deref();
    Variant old = target;
    target = Variant(value);
    return to_i4(old, &value);
  }
  HRESULT fail(DispatchCall& c) { return c.raise(control_error(5), u"Invalid procedure call or argument", u"Counter"); }
  HRESULT new_enum(DispatchCall& c) {
    c.result = Variant(Ref<IDispatch>(EnumVariant::over({i4(value), str("x")})));
    return S_OK;
  }
};

struct Call {
  const char* name;
  InvokeFlags flags;
  std::vector<Variant> args;
  HRESULT hr;
  const char* result;  // show() of the result when hr is S_OK
};

TEST(DispatchTable, ResolvesNamesWithoutRegardToCase) {
  Ref<Counter> c = make_ref<Counter>();
  const std::pair<const char*, DISPID> names[] = {{"value", 0}, {"VALUE", 0}, {"lAbEl", 1}, {"add", 2}, {"_newenum", DISPID_NEWENUM}};
  for (auto [name, id] : names) {
    DISPID got = 99;
    EXPECT_EQ(c->GetIDsOfNames(widen(name), &got), S_OK) << name;
    EXPECT_EQ(got, id) << name;
  }
  DISPID got;
  EXPECT_EQ(c->GetIDsOfNames(u"Valu", &got), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(c->GetIDsOfNames(u"Values", &got), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(c->GetIDsOfNames(u"", &got), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(c->type_name(), u"Counter");
}

TEST(DispatchTable, InvokesByKindAndChecksArguments) {
  Ref<Counter> c = make_ref<Counter>();
  const InvokeFlags get = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
  const std::vector<Call> calls = {
      {"Value", DISPATCH_PROPERTYPUT, {str("41")}, S_OK, "EMPTY"},  // text converts to the declared Long
      {"Value", get, {}, S_OK, "I4 41"},
      {"Add", DISPATCH_METHOD, {r8(2.5)}, S_OK, "I4 43"},          // 2.5 rounds to 2
      {"Add", DISPATCH_METHOD, {i2(3), i2(2)}, S_OK, "I4 49"},
      {"Add", DISPATCH_METHOD, {i2(1), Variant::missing()}, S_OK, "I4 50"},
      {"Add", DISPATCH_METHOD, {}, DISP_E_BADPARAMCOUNT, ""},
      {"Add", DISPATCH_METHOD, {i2(1), i2(1), i2(1)}, DISP_E_BADPARAMCOUNT, ""},
      {"Add", DISPATCH_METHOD, {Variant::missing()}, DISP_E_PARAMNOTOPTIONAL, ""},
      {"Add", DISPATCH_METHOD, {str("many")}, DISP_E_TYPEMISMATCH, ""},
      {"Add", DISPATCH_METHOD, {i4(40000)}, DISP_E_OVERFLOW, ""},
      {"Value", DISPATCH_PROPERTYPUT, {Variant::null()}, DISP_E_TYPEMISMATCH, ""},
      {"Value", DISPATCH_PROPERTYGET, {i2(1)}, DISP_E_BADPARAMCOUNT, ""},
      {"Value", DISPATCH_PROPERTYPUTREF, {i2(1)}, S_OK, "EMPTY"},  // a putref falls back to the put
      {"Add", DISPATCH_PROPERTYPUT, {i2(1)}, DISP_E_MEMBERNOTFOUND, ""},
      {"Label", DISPATCH_PROPERTYPUTREF, {r8(1.5)}, S_OK, "EMPTY"},
      {"Label", DISPATCH_PROPERTYGET, {}, S_OK, "BSTR 1.5"},
      {"Value", get, {}, S_OK, "I4 1"},
  };
  for (const Call& call : calls) {
    DISPID id;
    ASSERT_EQ(c->GetIDsOfNames(widen(call.name), &id), S_OK);
    std::vector<Variant> args = call.args;
    Variant result;
    EXPECT_EQ(c->Invoke(id, call.flags, args, &result, nullptr), call.hr) << call.name;
    if (call.hr == S_OK) {
      EXPECT_EQ(show(result), call.result) << call.name;
    }
  }
  Variant result;
  EXPECT_EQ(c->Invoke(77, DISPATCH_METHOD, {}, &result, nullptr), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(c->Invoke(0, DISPATCH_PROPERTYGET, {}, nullptr, nullptr), S_OK);  // result not wanted
}

TEST(DispatchTable, ByRefArgumentsAreWrittenThrough) {
  Ref<Counter> c = make_ref<Counter>();
  c->value = 7;
  Variant variable = str("3");
  std::vector<Variant> args = {Variant::by_ref(&variable)};
  ASSERT_EQ(c->Invoke(3, DISPATCH_METHOD, args, nullptr, nullptr), S_OK);
  EXPECT_EQ(show(variable), "I4 7");
  EXPECT_EQ(c->value, 3);
}

TEST(DispatchTable, RaisedErrorsCarryTheirDescription) {
  Ref<Counter> c = make_ref<Counter>();
  ExcepInfo info;
  EXPECT_EQ(c->Invoke(4, DISPATCH_METHOD, {}, nullptr, &info), DISP_E_EXCEPTION);
  EXPECT_EQ(info.scode, control_error(5));
  EXPECT_EQ(info.description, u"Invalid procedure call or argument");
  EXPECT_EQ(info.source, u"Counter");
  EXPECT_EQ(c->Invoke(4, DISPATCH_METHOD, {}, nullptr, nullptr), DISP_E_EXCEPTION);
}

TEST(DispatchTable, ObjectsConvertThroughTheirDefaultMember) {
  Ref<Counter> c = make_ref<Counter>();
  c->value = 12;
  Variant obj{Ref<IDispatch>(c)};
  Variant out;
  ASSERT_EQ(change_type(out, obj, VT_BSTR), S_OK);
  EXPECT_EQ(show(out), "BSTR 12");
  EXPECT_EQ(change_type(out, obj, VT_BSTR, VARIANT_NOVALUEPROP), DISP_E_TYPEMISMATCH);
  ASSERT_EQ(change_type(out, obj, VT_DISPATCH), S_OK);
  EXPECT_EQ(out.dispatch().get(), c.get());
  ASSERT_EQ(var_add(obj, i2(1), &out), S_OK);
  EXPECT_EQ(show(out), "I4 13");
  Variant none{Ref<IDispatch>()};
  EXPECT_EQ(var_add(none, i2(1), &out), DISP_E_TYPEMISMATCH);
  // An object without a default member has no value.
  BStr text;
  EXPECT_EQ(to_bstr(Variant(Ref<IDispatch>(EnumVariant::over({}))), &text), DISP_E_TYPEMISMATCH);
}

TEST(EnumVariant, WalksItemsThenEnds) {
  Ref<Counter> c = make_ref<Counter>();
  c->value = 5;
  Variant en;
  ASSERT_EQ(c->Invoke(DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &en, nullptr), S_OK);
  auto* e = dynamic_cast<IEnumVARIANT*>(en.dispatch().get());
  ASSERT_NE(e, nullptr);
  Variant item;
  ASSERT_EQ(e->Next(&item), S_OK);
  EXPECT_EQ(show(item), "I4 5");
  ASSERT_EQ(e->Next(&item), S_OK);
  EXPECT_EQ(show(item), "BSTR x");
  EXPECT_EQ(e->Next(&item), S_FALSE);
  EXPECT_EQ(e->Next(&item), S_FALSE);
  ASSERT_EQ(e->Reset(), S_OK);
  ASSERT_EQ(e->Next(&item), S_OK);
  EXPECT_EQ(show(item), "I4 5");
}

TEST(EnumVariant, SkipAndCloneShareTheItems) {
  Ref<EnumVariant> e = EnumVariant::over({i2(1), i2(2), i2(3)});
  EXPECT_EQ(e->Skip(0), E_INVALIDARG);
  EXPECT_EQ(e->Skip(1), S_OK);
  Ref<EnumVariant> clone = e->Clone();
  Variant item;
  ASSERT_EQ(clone->Next(&item), S_OK);
  EXPECT_EQ(show(item), "I2 2");
  EXPECT_EQ(e->Skip(5), S_FALSE);  // moved by 2 only
  EXPECT_EQ(e->Next(&item), S_FALSE);
  e = nullptr;  // the clone keeps the items alive
  ASSERT_EQ(clone->Next(&item), S_OK);
  EXPECT_EQ(show(item), "I2 3");
}

TEST(EnumVariant, WithoutItemsFails) {
  Ref<EnumVariant> none = make_ref<EnumVariant>(nullptr);
  Variant item;
  EXPECT_EQ(none->Next(&item), E_FAIL);
  EXPECT_EQ(none->Skip(1), S_FALSE);
  Ref<EnumVariant> empty = EnumVariant::over({});
  EXPECT_EQ(empty->Next(&item), S_FALSE);
  EXPECT_EQ(empty->Next(nullptr), E_POINTER);
}

// The batch form of Next, as callers that fetch several items at once use it.
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
