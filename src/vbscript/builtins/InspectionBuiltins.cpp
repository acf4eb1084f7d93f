// IsEmpty, IsNull, IsNumeric, IsObject, IsDate, TypeName and VarType.
#include "platform/com/Dispatch.h"
#include "platform/com/conversions.h"
#include "vbscript/builtins/Builtin.h"
#include "vbscript/builtins/builtin_args.h"

namespace tap::vbs {

namespace {

using namespace builtin;
using com::Variant;

Variant isempty(BuiltinState&, Args a) { return Variant(a[0].is_empty()); }
Variant isnull(BuiltinState&, Args a) { return Variant(a[0].is_null()); }
Variant isobject(BuiltinState&, Args a) { return Variant(a[0].is_object()); }

// Numbers, Booleans, Empty and text that reads as a number; dates are not.
Variant isnumeric(BuiltinState&, Args a) {
  const Variant& v = a[0];
  switch (v.vt()) {
    case com::VT_EMPTY:
    case com::VT_I2:
    case com::VT_I4:
    case com::VT_R4:
    case com::VT_R8:
    case com::VT_CY:
    case com::VT_BOOL:
    case com::VT_UI1: return Variant(true);
    case com::VT_BSTR: {
      double d;
      return Variant(com::succeeded(com::to_r8(v, &d)));
    }
    default: return Variant(false);
  }
}

// Dates and text that reads as a date; numbers are not dates.
Variant isdate(BuiltinState&, Args a) {
  const Variant& v = a[0];
  if (v.vt() == com::VT_DATE) return Variant(true);
  if (v.vt() != com::VT_BSTR) return Variant(false);
  com::Date d;
  return Variant(com::succeeded(com::to_date(v, &d)));
}

const char16_t* base_type_name(com::VARTYPE vt) {
  switch (vt) {
    case com::VT_EMPTY: return u"Empty";
    case com::VT_NULL: return u"Null";
    case com::VT_I2: return u"Integer";
    case com::VT_I4: return u"Long";
    case com::VT_R4: return u"Single";
    case com::VT_R8: return u"Double";
    case com::VT_CY: return u"Currency";
    case com::VT_DATE: return u"Date";
    case com::VT_BSTR: return u"String";
    case com::VT_DISPATCH: return u"Object";
    case com::VT_ERROR: return u"Error";
    case com::VT_BOOL: return u"Boolean";
    case com::VT_VARIANT: return u"Variant";
    case com::VT_UNKNOWN: return u"Unknown";
    case com::VT_UI1: return u"Byte";
    default: return u"Unknown";
  }
}

Variant typename_(BuiltinState&, Args a) {
  const Variant& v = a[0];
  if (v.is_array()) return Variant(std::u16string(base_type_name(v.vt() & ~com::VT_ARRAY)) + u"()");
  if (v.vt() == com::VT_DISPATCH) {
    if (!v.dispatch()) return Variant(u"Nothing");
    return Variant(v.dispatch()->type_name());
  }
  return Variant(base_type_name(v.vt()));
}

// An object with a default property reports the type of that property's
// value.
Variant vartype(BuiltinState&, Args a) {
  const Variant& v = a[0];
  if (v.vt() == com::VT_DISPATCH && v.dispatch()) {
    Variant value;
    com::ExcepInfo excep;
    if (com::succeeded(v.dispatch()->Invoke(com::DISPID_VALUE, com::DISPATCH_PROPERTYGET, {},
                                             &value, &excep)) &&
        !value.is_object())
      return Variant(static_cast<std::int16_t>(value.vt()));
  }
  return Variant(static_cast<std::int16_t>(v.vt()));
}

constexpr Builtin kInspection[] = {
    {u"IsEmpty", 1, 1, isempty},     {u"IsNull", 1, 1, isnull},     {u"IsNumeric", 1, 1, isnumeric},
    {u"IsObject", 1, 1, isobject},   {u"IsDate", 1, 1, isdate},     {u"TypeName", 1, 1, typename_},
    {u"VarType", 1, 1, vartype},
};

}  // namespace

std::span<const Builtin> inspection_builtins() { return kInspection; }

}  // namespace tap::vbs
