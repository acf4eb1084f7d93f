#pragma once
// Variant conversions under the rules of locale 0x409 (English, United
// States), as OLE Automation performs them: numbers print as VBScript shows
// them (1.5 -> "1.5", 1/3 -> "0.333333333333333", 1E+16, True -> "True"),
// text converts to numbers with overflow errors.
#include "platform/com/HResult.h"
#include "platform/com/IDispatch.h"
#include "platform/com/Variant.h"

namespace tap::com {

// VariantChangeType: DISP_E_TYPEMISMATCH when no conversion exists,
// DISP_E_OVERFLOW when the value does not fit.
HRESULT change_type(Variant& dest, const Variant& src, VARTYPE vt);

// Flags of change_type. An object converts through its default member
// (DISPID_VALUE) unless VARIANT_NOVALUEPROP forbids it; then it is a type
// mismatch. dest may be the same variant as src.
using ChangeTypeFlags = std::uint16_t;
inline constexpr ChangeTypeFlags VARIANT_NOVALUEPROP = 0x1;
HRESULT change_type(Variant& dest, const Variant& src, VARTYPE vt, ChangeTypeFlags flags);

// The value behind an object's default member (property get of
// DISPID_VALUE, repeated while it gives another object). Any other value is
// copied. DISP_E_TYPEMISMATCH for Nothing or an object without one.
// A failing member's description goes to excep when given.
HRESULT default_value(const Variant& v, Variant* out, ExcepInfo* excep = nullptr);

// Shorthands that throw nothing: they return the HRESULT and set *out.
HRESULT to_i2(const Variant& v, std::int16_t* out);
HRESULT to_i4(const Variant& v, std::int32_t* out);
HRESULT to_r8(const Variant& v, double* out);
HRESULT to_bool(const Variant& v, bool* out);
HRESULT to_bstr(const Variant& v, BStr* out);
HRESULT to_date(const Variant& v, Date* out);
HRESULT to_cy(const Variant& v, Currency* out);
HRESULT to_ui1(const Variant& v, std::uint8_t* out);
HRESULT to_r4(const Variant& v, float* out);

}  // namespace tap::com
