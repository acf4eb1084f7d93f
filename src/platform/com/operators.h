#pragma once
// Arithmetic, concatenation, comparison and logic on variants, with the
// typing rules of OLE Automation as VBScript applies them: Integer results
// that overflow become Long, Long becomes Double; Null propagates; "+" on
// two strings concatenates; "&" always concatenates.
#include "platform/com/HResult.h"
#include "platform/com/Variant.h"

namespace tap::com {

HRESULT var_add(const Variant& l, const Variant& r, Variant* out);
HRESULT var_sub(const Variant& l, const Variant& r, Variant* out);
HRESULT var_mul(const Variant& l, const Variant& r, Variant* out);
HRESULT var_div(const Variant& l, const Variant& r, Variant* out);   // /
HRESULT var_idiv(const Variant& l, const Variant& r, Variant* out);  // \ .
HRESULT var_mod(const Variant& l, const Variant& r, Variant* out);
HRESULT var_pow(const Variant& l, const Variant& r, Variant* out);
HRESULT var_cat(const Variant& l, const Variant& r, Variant* out);   // &
HRESULT var_neg(const Variant& v, Variant* out);
HRESULT var_not(const Variant& v, Variant* out);
HRESULT var_and(const Variant& l, const Variant& r, Variant* out);
HRESULT var_or(const Variant& l, const Variant& r, Variant* out);
HRESULT var_xor(const Variant& l, const Variant& r, Variant* out);
HRESULT var_eqv(const Variant& l, const Variant& r, Variant* out);
HRESULT var_imp(const Variant& l, const Variant& r, Variant* out);

enum class Compare { less = 0, equal = 1, greater = 2, null = 3 };
// text_compare: case-insensitive string comparison (vbTextCompare).
HRESULT var_cmp(const Variant& l, const Variant& r, Compare* out, bool text_compare = false);

}  // namespace tap::com
