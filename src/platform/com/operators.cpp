#include "platform/com/operators.h"

#include <cfloat>
#include <cmath>

#include "platform/com/case_fold.h"
#include "platform/com/conversions.h"
#include "platform/com/date_text.h"

namespace tap::com {

namespace {

// An operand with VT_BYREF followed and an object replaced by its default
// value.
class Operand {
 public:
  HRESULT resolve(const Variant& v) {
    const Variant& d = v.deref();
    if (!d.is_object()) { p_ = &d; return S_OK; }
    HRESULT hr = default_value(d, &holder_);
    p_ = &holder_;
    return hr;
  }
  const Variant& operator*() const { return *p_; }
  const Variant* operator->() const { return p_; }
  VARTYPE vt() const { return p_->vt(); }

 private:
  Variant holder_;
  const Variant* p_ = nullptr;
};

bool is_integral(VARTYPE vt) { return vt == VT_EMPTY || vt == VT_BOOL || vt == VT_UI1 || vt == VT_I2 || vt == VT_I4; }

bool is_scalar(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY:
    case VT_DATE: case VT_BSTR: case VT_BOOL: case VT_UI1:
      return true;
    default:
      return false;
  }
}

std::int64_t integral_value(const Variant& v) {
  switch (v.vt()) {
    case VT_BOOL: return v.boolean() ? -1 : 0;
    case VT_UI1: return v.ui1();
    case VT_I2: return v.i2();
    case VT_I4: return v.i4();
    default: return 0;
  }
}

// An integer result in the narrowest of UI1, I2, I4 at or above vt that
// holds it, else a Double: Integer overflow becomes Long, Long becomes Double.
Variant widen_integer(std::int64_t r, VARTYPE vt) {
  if (vt == VT_UI1 && r >= 0 && r <= UINT8_MAX) return Variant(static_cast<std::uint8_t>(r));
  if ((vt == VT_UI1 || vt == VT_I2) && r >= INT16_MIN && r <= INT16_MAX) return Variant(static_cast<std::int16_t>(r));
  if (r >= INT32_MIN && r <= INT32_MAX) return Variant(static_cast<std::int32_t>(r));
  return Variant(static_cast<double>(r));
}

enum class Arith { add, sub, mul };

// Result type of + - *: Date above Currency above Double (Double above
// Currency for *), Single with Long gives Double; strings count as Double.
VARTYPE arith_type(VARTYPE l, VARTYPE r, Arith op) {
  auto either = [&](VARTYPE t) { return l == t || r == t; };
  if (either(VT_DATE)) {
    if (op == Arith::mul || (op == Arith::sub && l == VT_DATE && r == VT_DATE)) return VT_R8;
    return VT_DATE;
  }
  if (op == Arith::mul && (either(VT_R8) || either(VT_BSTR))) return VT_R8;
  if (either(VT_CY)) return VT_CY;
  if (either(VT_R8) || either(VT_BSTR)) return VT_R8;
  if (either(VT_R4)) return either(VT_I4) ? VT_R8 : VT_R4;
  if (either(VT_I4)) return VT_I4;
  if (l == VT_UI1 && r == VT_UI1) return VT_UI1;
  return VT_I2;
}

// Integer and Double operands, the bulk of script arithmetic, skip operand
// resolution. false when the general path must decide.
bool fast_arith(const Variant& l, const Variant& r, Variant* out, Arith op) {
  VARTYPE lt = l.vt(), rt = r.vt();
  if ((lt == VT_I2 || lt == VT_I4) && (rt == VT_I2 || rt == VT_I4)) {
    std::int64_t a = lt == VT_I2 ? l.i2() : l.i4(), b = rt == VT_I2 ? r.i2() : r.i4();
    std::int64_t res = op == Arith::add ? a + b : op == Arith::sub ? a - b : a * b;
    *out = widen_integer(res, lt == VT_I4 || rt == VT_I4 ? VT_I4 : VT_I2);
    return true;
  }
  auto numeric = [](const Variant& v, double* d) {
    switch (v.vt()) {
      case VT_R8: *d = v.r8(); return true;
      case VT_I4: *d = v.i4(); return true;
      case VT_I2: *d = v.i2(); return true;
      default: return false;
    }
  };
  double a, b;
  if ((lt == VT_R8 || rt == VT_R8) && numeric(l, &a) && numeric(r, &b)) {
    double res = op == Arith::add ? a + b : op == Arith::sub ? a - b : a * b;
    if (!std::isfinite(res)) return false;
    *out = Variant(res);
    return true;
  }
  return false;
}

HRESULT arith(const Variant& lv, const Variant& rv, Variant* out, Arith op) {
  if (fast_arith(lv, rv, out, op)) return S_OK;
  Operand l, r;
  if (HRESULT hr = l.resolve(lv); failed(hr)) return hr;
  if (HRESULT hr = r.resolve(rv); failed(hr)) return hr;
  if (!is_scalar(l.vt()) || !is_scalar(r.vt())) return DISP_E_TYPEMISMATCH;
  if (l.vt() == VT_NULL || r.vt() == VT_NULL) { *out = Variant::null(); return S_OK; }
  if (op == Arith::add) {
    if (l.vt() == VT_BSTR && r.vt() == VT_BSTR) return var_cat(*l, *r, out);
    // Empty plus anything gives the other operand as it is.
    if (l.vt() == VT_EMPTY && r.vt() != VT_EMPTY) { *out = *r; return S_OK; }
    if (r.vt() == VT_EMPTY && l.vt() != VT_EMPTY) { *out = *l; return S_OK; }
  }
  VARTYPE vt = arith_type(l.vt(), r.vt(), op);
  if (vt == VT_UI1 || vt == VT_I2 || vt == VT_I4) {
    std::int64_t a = integral_value(*l), b = integral_value(*r);
    std::int64_t res = op == Arith::add ? a + b : op == Arith::sub ? a - b : a * b;
    *out = widen_integer(res, vt);
    return S_OK;
  }
  if (vt == VT_CY) {
    Currency a, b;
    if (HRESULT hr = to_cy(*l, &a); failed(hr)) return hr;
    if (HRESULT hr = to_cy(*r, &b); failed(hr)) return hr;
    std::int64_t res;
    if (op == Arith::mul) {
      long double p = std::nearbyint(static_cast<long double>(a.scaled) * b.scaled / 10000.0L);
      if (!(p >= -9223372036854775808.0L && p < 9223372036854775808.0L)) return DISP_E_OVERFLOW;
      res = static_cast<std::int64_t>(p);
    } else if (op == Arith::add ? __builtin_add_overflow(a.scaled, b.scaled, &res)
                                : __builtin_sub_overflow(a.scaled, b.scaled, &res)) {
      return DISP_E_OVERFLOW;
    }
    *out = Variant(Currency{res});
    return S_OK;
  }
  double a, b;
  if (HRESULT hr = to_r8(*l, &a); failed(hr)) return hr;
  if (HRESULT hr = to_r8(*r, &b); failed(hr)) return hr;
  double res = op == Arith::add ? a + b : op == Arith::sub ? a - b : a * b;
  if (!std::isfinite(res)) return DISP_E_OVERFLOW;
  if (vt == VT_R4) {
    if (std::fabs(res) > FLT_MAX) *out = Variant(res);
    else *out = Variant(static_cast<float>(res));
  } else if (vt == VT_DATE) {
    if (!(res >= min_date && res <= max_date)) return DISP_E_OVERFLOW;
    *out = Variant(Date{res});
  } else {
    *out = Variant(res);
  }
  return S_OK;
}

// Operands of \ and Mod rounded to whole numbers; the result is Byte for
// two Bytes, Integer for Integer-sized operands, else Long.
HRESULT integer_operands(const Variant& lv, const Variant& rv, std::int64_t* a, std::int64_t* b, VARTYPE* vt, bool* null) {
  Operand l, r;
  if (HRESULT hr = l.resolve(lv); failed(hr)) return hr;
  if (HRESULT hr = r.resolve(rv); failed(hr)) return hr;
  if (!is_scalar(l.vt()) || !is_scalar(r.vt())) return DISP_E_TYPEMISMATCH;
  *null = l.vt() == VT_NULL || r.vt() == VT_NULL;
  if (*null) return S_OK;
  if (l.vt() == VT_UI1 && r.vt() == VT_UI1) *vt = VT_UI1;
  else if (is_integral(l.vt()) && is_integral(r.vt()) && l.vt() != VT_I4 && r.vt() != VT_I4) *vt = VT_I2;
  else *vt = VT_I4;
  std::int32_t x, y;
  if (HRESULT hr = to_i4(*l, &x); failed(hr)) return hr;
  if (HRESULT hr = to_i4(*r, &y); failed(hr)) return hr;
  *a = x;
  *b = y;
  return S_OK;
}

// Logical operands: Boolean stays Boolean, text that is not a number may be
// "True" or "False", everything else takes part as a whole number.
HRESULT logical_operand(const Variant& v, Operand& holder, Variant& scratch, const Variant** out) {
  if (HRESULT hr = holder.resolve(v); failed(hr)) return hr;
  const Variant& x = *holder;
  if (!is_scalar(x.vt())) return DISP_E_TYPEMISMATCH;
  if (x.vt() == VT_BSTR) {
    double d;
    if (succeeded(to_r8(x, &d))) {
      scratch = Variant(d);
    } else {
      bool b;
      if (HRESULT hr = to_bool(x, &b); failed(hr)) return hr;
      scratch = Variant(b);
    }
    *out = &scratch;
    return S_OK;
  }
  *out = &x;
  return S_OK;
}

VARTYPE logical_type(VARTYPE l, VARTYPE r) {
  // Null takes the type of the other operand.
  if (l == VT_NULL) l = r;
  if (r == VT_NULL) r = l;
  if (l == VT_BOOL && r == VT_BOOL) return VT_BOOL;
  if (l == VT_UI1 && r == VT_UI1) return VT_UI1;
  if ((l == VT_I2 || l == VT_UI1 || l == VT_BOOL || l == VT_EMPTY) && (r == VT_I2 || r == VT_UI1 || r == VT_BOOL || r == VT_EMPTY))
    return VT_I2;
  return VT_I4;
}

Variant logical_result(std::int64_t v, VARTYPE vt) {
  switch (vt) {
    case VT_BOOL: return Variant(v != 0);
    case VT_UI1: return Variant(static_cast<std::uint8_t>(v));
    case VT_I2: return Variant(static_cast<std::int16_t>(v));
    default: return Variant(static_cast<std::int32_t>(v));
  }
}

template <typename F>
HRESULT logical(const Variant& lv, const Variant& rv, Variant* out, F op) {
  Operand lh, rh;
  Variant ls, rs;
  const Variant *l, *r;
  if (HRESULT hr = logical_operand(lv, lh, ls, &l); failed(hr)) return hr;
  if (HRESULT hr = logical_operand(rv, rh, rs, &r); failed(hr)) return hr;
  VARTYPE vt = logical_type(l->vt(), r->vt());
  if (l->is_null() && r->is_null()) { *out = Variant::null(); return S_OK; }
  std::int32_t a = 0, b = 0;
  if (!l->is_null())
    if (HRESULT hr = to_i4(*l, &a); failed(hr)) return hr;
  if (!r->is_null())
    if (HRESULT hr = to_i4(*r, &b); failed(hr)) return hr;
  std::int64_t mask = vt == VT_UI1 ? 0xFF : -1;
  if (l->is_null() || r->is_null()) {
    // Null is unknown: the result is known only when it is the same with
    // Null read as all bits clear and as all bits set.
    std::int64_t x0 = l->is_null() ? op(0, b) : op(a, 0);
    std::int64_t x1 = l->is_null() ? op(-1, b) : op(a, -1);
    if ((x0 & mask) != (x1 & mask)) { *out = Variant::null(); return S_OK; }
    *out = logical_result(x0 & mask, vt);
    return S_OK;
  }
  *out = logical_result(op(a, b) & mask, vt);
  return S_OK;
}

}  // namespace

HRESULT var_add(const Variant& l, const Variant& r, Variant* out) { return arith(l, r, out, Arith::add); }
HRESULT var_sub(const Variant& l, const Variant& r, Variant* out) { return arith(l, r, out, Arith::sub); }
HRESULT var_mul(const Variant& l, const Variant& r, Variant* out) { return arith(l, r, out, Arith::mul); }

HRESULT var_div(const Variant& lv, const Variant& rv, Variant* out) {
  Operand l, r;
  if (HRESULT hr = l.resolve(lv); failed(hr)) return hr;
  if (HRESULT hr = r.resolve(rv); failed(hr)) return hr;
  if (!is_scalar(l.vt()) || !is_scalar(r.vt())) return DISP_E_TYPEMISMATCH;
  if (l.vt() == VT_NULL || r.vt() == VT_NULL) { *out = Variant::null(); return S_OK; }
  double a, b;
  if (HRESULT hr = to_r8(*l, &a); failed(hr)) return hr;
  if (HRESULT hr = to_r8(*r, &b); failed(hr)) return hr;
  // 0/0 has no value at all and reports an overflow, as VBScript does.
  if (b == 0) return a == 0 ? DISP_E_OVERFLOW : DISP_E_DIVBYZERO;
  double res = a / b;
  if (!std::isfinite(res)) return DISP_E_OVERFLOW;
  auto single_sized = [](VARTYPE t) { return t == VT_R4 || t == VT_I2 || t == VT_UI1 || t == VT_BOOL || t == VT_EMPTY; };
  if ((l.vt() == VT_R4 || r.vt() == VT_R4) && single_sized(l.vt()) && single_sized(r.vt()) && std::fabs(res) <= FLT_MAX)
    *out = Variant(static_cast<float>(res));
  else
    *out = Variant(res);
  return S_OK;
}

namespace {

// \ and Mod round both operands to whole numbers first and share the
// Null and zero-divisor rules.
template <typename Op>
HRESULT integer_division(const Variant& l, const Variant& r, Variant* out, Op op) {
  std::int64_t a, b;
  VARTYPE vt;
  bool null;
  if (HRESULT hr = integer_operands(l, r, &a, &b, &vt, &null); failed(hr)) return hr;
  if (null) { *out = Variant::null(); return S_OK; }
  if (b == 0) return DISP_E_DIVBYZERO;
  std::int64_t q = op(a, b);
  if (vt == VT_I4 && q > INT32_MAX) return DISP_E_OVERFLOW;
  *out = widen_integer(q, vt);
  return S_OK;
}

}  // namespace

HRESULT var_idiv(const Variant& l, const Variant& r, Variant* out) {
  return integer_division(l, r, out, [](std::int64_t a, std::int64_t b) { return a / b; });
}

HRESULT var_mod(const Variant& l, const Variant& r, Variant* out) {
  return integer_division(l, r, out, [](std::int64_t a, std::int64_t b) { return a % b; });
}

HRESULT var_pow(const Variant& lv, const Variant& rv, Variant* out) {
  Operand l, r;
  if (HRESULT hr = l.resolve(lv); failed(hr)) return hr;
  if (HRESULT hr = r.resolve(rv); failed(hr)) return hr;
  if (!is_scalar(l.vt()) || !is_scalar(r.vt())) return DISP_E_TYPEMISMATCH;
  if (l.vt() == VT_NULL || r.vt() == VT_NULL) { *out = Variant::null(); return S_OK; }
  double a, b;
  if (HRESULT hr = to_r8(*l, &a); failed(hr)) return hr;
  if (HRESULT hr = to_r8(*r, &b); failed(hr)) return hr;
  double res = std::pow(a, b);
  if (std::isnan(res)) return E_INVALIDARG;  // a negative base with a fractional power
  if (std::isinf(res)) return a == 0 ? DISP_E_DIVBYZERO : DISP_E_OVERFLOW;
  *out = Variant(res);
  return S_OK;
}

HRESULT var_cat(const Variant& lv, const Variant& rv, Variant* out) {
  Operand l, r;
  if (HRESULT hr = l.resolve(lv); failed(hr)) return hr;
  if (HRESULT hr = r.resolve(rv); failed(hr)) return hr;
  if (l.vt() == VT_NULL && r.vt() == VT_NULL) { *out = Variant::null(); return S_OK; }
  BStr a, b;
  if (l.vt() != VT_NULL)
    if (HRESULT hr = to_bstr(*l, &a); failed(hr)) return hr;
  if (r.vt() != VT_NULL)
    if (HRESULT hr = to_bstr(*r, &b); failed(hr)) return hr;
  if (b.empty() && !a.is_null()) { *out = Variant(a); return S_OK; }
  if (a.empty() && !b.is_null()) { *out = Variant(b); return S_OK; }
  std::u16string s;
  s.reserve(a.size() + b.size());
  s.append(a.view()).append(b.view());
  *out = Variant(std::move(s));
  return S_OK;
}

HRESULT var_neg(const Variant& v, Variant* out) {
  Operand x;
  if (HRESULT hr = x.resolve(v); failed(hr)) return hr;
  switch (x.vt()) {
    case VT_NULL: *out = *x; return S_OK;
    case VT_EMPTY: *out = Variant(std::int16_t{0}); return S_OK;
    case VT_BOOL: case VT_UI1: case VT_I2: *out = widen_integer(-integral_value(*x), VT_I2); return S_OK;
    case VT_I4: *out = widen_integer(-integral_value(*x), VT_I4); return S_OK;
    case VT_R4: *out = Variant(-x->r4()); return S_OK;
    case VT_R8: *out = Variant(-x->r8()); return S_OK;
    case VT_DATE: *out = Variant(Date{-x->date().value}); return S_OK;
    case VT_CY:
      if (x->cy().scaled == INT64_MIN) return DISP_E_OVERFLOW;
      *out = Variant(Currency{-x->cy().scaled});
      return S_OK;
    case VT_BSTR: {
      double d;
      if (HRESULT hr = to_r8(*x, &d); failed(hr)) return hr;
      *out = Variant(-d);
      return S_OK;
    }
    default: return DISP_E_TYPEMISMATCH;
  }
}

HRESULT var_not(const Variant& v, Variant* out) {
  Operand holder;
  Variant scratch;
  const Variant* x;
  if (HRESULT hr = logical_operand(v, holder, scratch, &x); failed(hr)) return hr;
  switch (x->vt()) {
    case VT_NULL: *out = *x; return S_OK;
    case VT_BOOL: *out = Variant(!x->boolean()); return S_OK;
    case VT_EMPTY: *out = Variant(std::int16_t{-1}); return S_OK;
    case VT_UI1: *out = Variant(static_cast<std::uint8_t>(~x->ui1())); return S_OK;
    case VT_I2: *out = Variant(static_cast<std::int16_t>(~x->i2())); return S_OK;
    default: {
      std::int32_t i;
      if (HRESULT hr = to_i4(*x, &i); failed(hr)) return hr;
      *out = Variant(static_cast<std::int32_t>(~i));
      return S_OK;
    }
  }
}

HRESULT var_and(const Variant& l, const Variant& r, Variant* out) {
  return logical(l, r, out, [](std::int64_t a, std::int64_t b) { return a & b; });
}
HRESULT var_or(const Variant& l, const Variant& r, Variant* out) {
  return logical(l, r, out, [](std::int64_t a, std::int64_t b) { return a | b; });
}
HRESULT var_xor(const Variant& l, const Variant& r, Variant* out) {
  return logical(l, r, out, [](std::int64_t a, std::int64_t b) { return a ^ b; });
}
HRESULT var_eqv(const Variant& l, const Variant& r, Variant* out) {
  return logical(l, r, out, [](std::int64_t a, std::int64_t b) { return ~(a ^ b); });
}
HRESULT var_imp(const Variant& l, const Variant& r, Variant* out) {
  return logical(l, r, out, [](std::int64_t a, std::int64_t b) { return ~a | b; });
}

HRESULT var_cmp(const Variant& lv, const Variant& rv, Compare* out, bool text_compare) {
  if ((lv.vt() == VT_I2 || lv.vt() == VT_I4) && (rv.vt() == VT_I2 || rv.vt() == VT_I4)) {
    std::int32_t a = lv.vt() == VT_I2 ? lv.i2() : lv.i4(), b = rv.vt() == VT_I2 ? rv.i2() : rv.i4();
    *out = a < b ? Compare::less : a > b ? Compare::greater : Compare::equal;
    return S_OK;
  }
  Operand l, r;
  if (HRESULT hr = l.resolve(lv); failed(hr)) return hr;
  if (HRESULT hr = r.resolve(rv); failed(hr)) return hr;
  if (!is_scalar(l.vt()) || !is_scalar(r.vt())) return DISP_E_TYPEMISMATCH;
  if (l.vt() == VT_NULL || r.vt() == VT_NULL) { *out = Compare::null; return S_OK; }
  auto order = [](int c) { return c < 0 ? Compare::less : c > 0 ? Compare::greater : Compare::equal; };
  bool ls = l.vt() == VT_BSTR, rs = r.vt() == VT_BSTR;
  if (ls || rs) {
    // Empty compares as "" with text; a number is less than any text.
    if ((ls || l.vt() == VT_EMPTY) && (rs || r.vt() == VT_EMPTY)) {
      *out = order(compare_text(ls ? l->bstr().view() : u"", rs ? r->bstr().view() : u"", text_compare));
      return S_OK;
    }
    *out = ls ? Compare::greater : Compare::less;
    return S_OK;
  }
  if (l.vt() == VT_CY && r.vt() == VT_CY) {
    *out = order(l->cy().scaled < r->cy().scaled ? -1 : l->cy().scaled > r->cy().scaled);
    return S_OK;
  }
  if (is_integral(l.vt()) && is_integral(r.vt())) {
    std::int64_t a = integral_value(*l), b = integral_value(*r);
    *out = order(a < b ? -1 : a > b);
    return S_OK;
  }
  double a, b;
  if (HRESULT hr = to_r8(*l, &a); failed(hr)) return hr;
  if (HRESULT hr = to_r8(*r, &b); failed(hr)) return hr;
  // Single against Double compares at Single precision (CSng(0.1) = 0.1),
  // unless the Double lies beyond Single's range.
  bool single_double = (l.vt() == VT_R4 && r.vt() == VT_R8) || (l.vt() == VT_R8 && r.vt() == VT_R4);
  if (single_double && std::fabs(a) <= FLT_MAX && std::fabs(b) <= FLT_MAX) {
    a = static_cast<float>(a);
    b = static_cast<float>(b);
  }
  *out = order(a < b ? -1 : a > b);
  return S_OK;
}

}  // namespace tap::com
