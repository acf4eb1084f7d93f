// The RegExp objects through IDispatch, as any automation client sees them;
// what the golden scripts in vbscript/regexp echo is not repeated here.
#include "vbscript/objects/RegExp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/host/ScriptHost.h"
#include "vbscript/objects/object_registry.h"

namespace tap::vbs {
namespace {

using com::Variant;

class RegExpDispatch : public testing::Test {
 protected:
  com::Ref<com::IDispatch> re = create_builtin_class(u"regexp");

  com::HRESULT call(com::IDispatch& obj, std::u16string_view name, com::InvokeFlags flags,
                    std::vector<Variant> args, Variant* result = nullptr) {
    com::DISPID id = 0;
    if (com::HRESULT hr = obj.GetIDsOfNames(name, &id); com::failed(hr)) return hr;
    excep = {};
    return obj.Invoke(id, flags, args, result, &excep);
  }
  Variant get(com::IDispatch& obj, std::u16string_view name, std::vector<Variant> args = {}) {
    Variant v;
    EXPECT_EQ(call(obj, name, com::DISPATCH_PROPERTYGET | com::DISPATCH_METHOD, std::move(args), &v), com::S_OK)
        << std::string(name.begin(), name.end());
    return v;
  }
  void put(std::u16string_view name, Variant value) {
    EXPECT_EQ(call(*re, name, com::DISPATCH_PROPERTYPUT, {std::move(value)}), com::S_OK);
  }
  std::u16string text(const Variant& v) {
    com::BStr s;
    EXPECT_EQ(com::to_bstr(v, &s), com::S_OK);
    return s.str();
  }

  com::ExcepInfo excep;
};

TEST_F(RegExpDispatch, IsCreatedByNewUnderAnyCase) {
  ASSERT_TRUE(re);
  EXPECT_EQ(re->type_name(), u"IRegExp2");
}

TEST_F(RegExpDispatch, SwitchesConvertAssignedValues) {
  put(u"Global", Variant(std::int32_t(1)));
  put(u"IgnoreCase", Variant(u"True"));
  put(u"Pattern", Variant(std::int32_t(42)));
  EXPECT_TRUE(get(*re, u"Global").boolean());
  EXPECT_TRUE(get(*re, u"IgnoreCase").boolean());
  EXPECT_FALSE(get(*re, u"Multiline").boolean());
  EXPECT_EQ(text(get(*re, u"Pattern")), u"42");
}

TEST_F(RegExpDispatch, PathologicalSearchRaisesInsteadOfHanging) {
  put(u"Pattern", Variant(u"(a+)+$"));
  Variant r;
  EXPECT_EQ(call(*re, u"Test", com::DISPATCH_METHOD, {Variant(std::u16string(10000, u'a') + u"b")}, &r),
            com::DISP_E_EXCEPTION);
  EXPECT_EQ(excep.scode, com::control_error(28));
}

TEST_F(RegExpDispatch, MatchIndexPastTheEndRaises5) {
  put(u"Pattern", Variant(u"\\d"));
  put(u"Global", Variant(true));
  Variant ms = get(*re, u"Execute", {Variant(u"1 23 4")});
  ASSERT_TRUE(ms.is_object());
  Variant bad;
  EXPECT_EQ(call(*ms.dispatch(), u"Item", com::DISPATCH_PROPERTYGET, {Variant(std::int32_t(4))}, &bad),
            com::DISP_E_EXCEPTION);
  EXPECT_EQ(excep.scode, com::control_error(5));
}

TEST_F(RegExpDispatch, ReplaceConvertsANonTextReplacement) {
  put(u"Pattern", Variant(u"o"));
  put(u"Global", Variant(true));
  EXPECT_EQ(text(get(*re, u"Replace", {Variant(u"foo"), Variant(std::int32_t(0))})), u"f00");
  Variant r;
  EXPECT_NE(call(*re, u"Replace", com::DISPATCH_METHOD, {Variant(u"foo")}, &r), com::S_OK);
}

// A search inside a script run with a time-out may use what is left of
// it: a search of this size takes longer than the regex layer's own
// limit, and failed with "Out of stack space" before. A search that
// outlasts the time-out ends the run as the time-out.
TEST(RegExpInScripts, SearchesRunUntilTheScriptsTimeOut) {
  const std::u16string text =
      u"Set r = New RegExp : r.Pattern = \" \" : r.Global = True\n"
      u"Function Count(n) : Count = r.Execute(Space(n)).Count : End Function";
  ScriptHost host;
  host.set_timeout(60000);
  ASSERT_TRUE(host.add_code(text).ok());
  Variant many[] = {Variant(300000)};
  const ScriptResult counted = host.run(u"Count", many);
  ASSERT_TRUE(counted.ok()) << counted.number;
  EXPECT_EQ(counted.value.i4(), 300000);

  host.set_timeout(20);
  Variant too_many[] = {Variant(3000000)};
  const ScriptResult stopped = host.run(u"Count", too_many);
  EXPECT_EQ(stopped.number, static_cast<std::int32_t>(RuntimeError::script_timeout));
}

}  // namespace
}  // namespace tap::vbs
