#pragma once
// Variant conversions under the rules of locale 0x409 (English, United
// States), as OLE Automation performs them: numbers print as VBScript shows
// them (1.5 -> "1.5", 1/3 -> "0.333333333333333", 1E+16, True -> "True"),
// text converts to numbers with overflow errors.
#include "platform/com/HResult.h"
#include "platform/com/Variant.h"

namespace tap::com {

// VariantChangeType: DISP_E_TYPEMISMATCH when no conversion exists,
// DISP_E_OVERFLOW when the value does not fit.
HRESULT change_type(Variant& dest, const Variant& src, VARTYPE vt);

// Shorthands that throw nothing: they return the HRESULT and set *out.
HRESULT to_i2(const Variant& v, std::int16_t* out);
HRESULT to_i4(const Variant& v, std::int32_t* out);
HRESULT to_r8(const Variant& v, double* out);
HRESULT to_bool(const Variant& v, bool* out);
HRESULT to_bstr(const Variant& v, BStr* out);
HRESULT to_date(const Variant& v, Date* out);
HRESULT to_cy(const Variant& v, Currency* out);

}  // namespace tap::com
