// Values the golden scripts in vbscript/builtins already echo are not
// repeated here; rows stay where the script output cannot show the result
// type, and for the cases the scripts do not reach.
#include "builtin_call.h"

#include "platform/com/Dispatch.h"

namespace tap::vbs::test {
namespace {

Variant matrix(std::int32_t lower1, std::int32_t count1, std::int32_t lower2, std::int32_t count2) {
  return Variant(std::make_shared<com::SafeArray>(
      std::vector<com::ArrayBound>{{lower1, count1}, {lower2, count2}}));
}

TEST(ArrayBuiltins, BoundsPerDimension) {
  Variant empty = call(u"Array", {}).value;
  run_cases({
      {u"UBound", {empty}, i4(-1)},
      {u"UBound", {matrix(1, 3, -2, 5)}, i4(3)},
      {u"UBound", {matrix(1, 3, -2, 5), i2(2)}, i4(2)},
      {u"LBound", {matrix(1, 3, -2, 5), i2(2)}, i4(-2)},
      fails(u"UBound", {array_of({}), i2(0)}, 9),
      fails(u"LBound", {Variant::null()}, 94),
  });
}

TEST(ArrayBuiltins, ArrayCollectsItsArguments) {
  Outcome out = call(u"Array", {i2(1), str(u"x"), Variant::missing()});
  ASSERT_FALSE(out.error);
  EXPECT_TRUE(same(out.value, array_of({i2(1), str(u"x"), Variant()})));
  EXPECT_EQ(out.value.vt(), com::VT_ARRAY | com::VT_VARIANT);
}

class Widget final : public com::IDispatch {
 public:
  explicit Widget(Variant value) : value_(std::move(value)) {}
  com::HRESULT GetIDsOfNames(std::u16string_view, com::DISPID*) override { return com::DISP_E_UNKNOWNNAME; }
  com::HRESULT Invoke(com::DISPID id, com::InvokeFlags, std::span<Variant>, Variant* result,
                      com::ExcepInfo*) override {
    if (id != com::DISPID_VALUE || value_.is_empty()) return com::DISP_E_MEMBERNOTFOUND;
    *result = value_;
    return com::S_OK;
  }
  std::u16string type_name() const override { return u"Widget"; }

 private:
  Variant value_;
};

TEST(InspectionBuiltins, TypeNameAndVarType) {
  Variant plain(com::Ref<com::IDispatch>(new Widget(Variant())));
  Variant with_default(com::Ref<com::IDispatch>(new Widget(str(u"v"))));
  Variant nothing{com::Ref<com::IDispatch>()};
  run_cases({
      {u"TypeName", {plain}, str(u"Widget")},
      {u"VarType", {with_default}, i2(8)},
      {u"VarType", {nothing}, i2(9)},
  });
}

TEST(InspectionBuiltins, Predicates) {
  Variant nothing{com::Ref<com::IDispatch>()};
  run_cases({
      {u"IsEmpty", {Variant()}, Variant(true)},
      {u"IsNull", {Variant::null()}, Variant(true)},
      {u"IsObject", {nothing}, Variant(true)},
      {u"IsNumeric", {str(u" 12 ")}, Variant(true)},
      {u"IsNumeric", {date(1)}, Variant(false)},
      {u"IsDate", {date(1)}, Variant(true)},
  });
}

}  // namespace
}  // namespace tap::vbs::test
