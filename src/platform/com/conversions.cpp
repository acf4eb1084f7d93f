#include "platform/com/conversions.h"

#include <cfloat>
#include <cmath>

#include "platform/com/Dispatch.h"
#include "platform/com/date_text.h"
#include "platform/com/number_text.h"

namespace tap::com {

namespace {

// A default member that hands back objects again and again ends here.
constexpr int max_default_depth = 8;

constexpr std::int64_t cy_scale = 10000;
constexpr long double cy_limit = 9223372036854775808.0L;  // 2^63

bool text_equals_ci(std::u16string_view text, std::u16string_view lower_word) {
  if (text.size() != lower_word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    if (c != lower_word[i]) return false;
  }
  return true;
}

std::u16string_view trim_spaces(std::u16string_view s) {
  while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
  return s;
}

// Banker's rounding of a currency amount to whole units.
std::int64_t cy_round(std::int64_t scaled) {
  std::int64_t q = scaled / cy_scale, r = scaled % cy_scale;
  if (r > cy_scale / 2 || (r == cy_scale / 2 && (q & 1))) ++q;
  else if (r < -cy_scale / 2 || (r == -cy_scale / 2 && (q & 1))) --q;
  return q;
}

// The value of a scalar as a whole number in [lo, hi], rounding halves to
// even. src is dereferenced and not an object.
HRESULT integer_value(const Variant& src, std::int64_t lo, std::int64_t hi, std::int64_t* out) {
  long double v;
  switch (src.vt()) {
    case VT_EMPTY: v = 0; break;
    case VT_I2: v = src.i2(); break;
    case VT_I4: v = src.i4(); break;
    case VT_UI1: v = src.ui1(); break;
    case VT_BOOL: v = src.boolean() ? -1 : 0; break;
    case VT_R4: v = src.r4(); break;
    case VT_R8: v = src.r8(); break;
    case VT_DATE: v = src.date().value; break;
    case VT_CY: v = static_cast<long double>(cy_round(src.cy().scaled)); break;
    case VT_BSTR: {
      ParsedNumber n;
      if (HRESULT hr = parse_number(src.bstr().view(), &n); failed(hr)) return hr;
      v = n.value;
      break;
    }
    default: return DISP_E_TYPEMISMATCH;
  }
  if (!std::isfinite(v)) return DISP_E_OVERFLOW;
  v = std::nearbyint(v);
  if (v < static_cast<long double>(lo) || v > static_cast<long double>(hi)) return DISP_E_OVERFLOW;
  *out = static_cast<std::int64_t>(v);
  return S_OK;
}

HRESULT double_value(const Variant& src, double* out) {
  switch (src.vt()) {
    case VT_EMPTY: *out = 0; return S_OK;
    case VT_I2: *out = src.i2(); return S_OK;
    case VT_I4: *out = src.i4(); return S_OK;
    case VT_UI1: *out = src.ui1(); return S_OK;
    case VT_BOOL: *out = src.boolean() ? -1 : 0; return S_OK;
    case VT_R4: *out = src.r4(); return S_OK;
    case VT_R8: *out = src.r8(); return S_OK;
    case VT_DATE: *out = src.date().value; return S_OK;
    case VT_CY: *out = static_cast<double>(src.cy().scaled) / cy_scale; return S_OK;
    case VT_BSTR: {
      ParsedNumber n;
      if (HRESULT hr = parse_number(src.bstr().view(), &n); failed(hr)) return hr;
      *out = static_cast<double>(n.value);
      return S_OK;
    }
    default: return DISP_E_TYPEMISMATCH;
  }
}

// The whole part scales exactly, so 922337203685477 stays that; the
// fraction scales in double precision, so 0.00005 is exactly half a unit.
HRESULT currency_from_double(double d, Currency* out) {
  if (!std::isfinite(d)) return DISP_E_OVERFLOW;
  double whole = std::trunc(d);
  if (!(std::fabs(whole) < cy_limit / cy_scale + 1)) return DISP_E_OVERFLOW;
  auto units = static_cast<std::int64_t>(std::nearbyint((d - whole) * static_cast<double>(cy_scale)));
  std::int64_t scaled;
  if (__builtin_mul_overflow(static_cast<std::int64_t>(whole), cy_scale, &scaled) ||
      __builtin_add_overflow(scaled, units, &scaled))
    return DISP_E_OVERFLOW;
  out->scaled = scaled;
  return S_OK;
}

HRESULT currency_value(const Variant& src, Currency* out) {
  long double v;
  switch (src.vt()) {
    case VT_CY: *out = src.cy(); return S_OK;
    case VT_BSTR: {
      ParsedNumber n;
      if (HRESULT hr = parse_number(src.bstr().view(), &n); failed(hr)) return hr;
      v = n.value;
      break;
    }
    default: {
      double d;
      if (HRESULT hr = double_value(src, &d); failed(hr)) return hr;
      return currency_from_double(d, out);
    }
  }
  v = std::nearbyint(v * cy_scale);
  if (!(v >= -cy_limit && v < cy_limit)) return DISP_E_OVERFLOW;
  out->scaled = static_cast<std::int64_t>(v);
  return S_OK;
}

HRESULT bool_value(const Variant& src, bool* out) {
  switch (src.vt()) {
    case VT_EMPTY: *out = false; return S_OK;
    case VT_BOOL: *out = src.boolean(); return S_OK;
    case VT_I2: *out = src.i2() != 0; return S_OK;
    case VT_I4: *out = src.i4() != 0; return S_OK;
    case VT_UI1: *out = src.ui1() != 0; return S_OK;
    case VT_R4: *out = src.r4() != 0; return S_OK;
    case VT_R8: *out = src.r8() != 0; return S_OK;
    case VT_DATE: *out = src.date().value != 0; return S_OK;
    case VT_CY: *out = src.cy().scaled != 0; return S_OK;
    case VT_BSTR: {
      std::u16string_view text = trim_spaces(src.bstr().view());
      // "#TRUE#" and "#FALSE#" are how Boolean values are written to files.
      if (text_equals_ci(text, u"true") || text_equals_ci(text, u"#true#")) { *out = true; return S_OK; }
      if (text_equals_ci(text, u"false") || text_equals_ci(text, u"#false#")) { *out = false; return S_OK; }
      ParsedNumber n;
      if (HRESULT hr = parse_number(text, &n); failed(hr)) return hr;
      *out = n.value != 0;
      return S_OK;
    }
    default: return DISP_E_TYPEMISMATCH;
  }
}

HRESULT date_value(const Variant& src, double* out) {
  if (src.vt() == VT_BSTR) return parse_date(src.bstr().view(), out);
  double d;
  if (HRESULT hr = double_value(src, &d); failed(hr)) return hr;
  if (!(d >= min_date && d <= max_date)) return DISP_E_OVERFLOW;
  *out = d;
  return S_OK;
}

HRESULT text_value(const Variant& src, BStr* out) {
  switch (src.vt()) {
    case VT_EMPTY: *out = BStr(u""); return S_OK;
    case VT_BSTR: *out = src.bstr(); return S_OK;
    case VT_I2: *out = format_integer(src.i2()); return S_OK;
    case VT_I4: *out = format_integer(src.i4()); return S_OK;
    case VT_UI1: *out = format_integer(src.ui1()); return S_OK;
    case VT_R4: *out = format_r4(src.r4()); return S_OK;
    case VT_R8: *out = format_r8(src.r8()); return S_OK;
    case VT_CY: *out = format_cy(src.cy()); return S_OK;
    case VT_DATE: {
      if (!(src.date().value >= min_date && src.date().value <= max_date)) return DISP_E_OVERFLOW;
      *out = format_date(src.date().value);
      return S_OK;
    }
    case VT_BOOL: *out = BStr(src.boolean() ? u"True" : u"False"); return S_OK;
    default: return DISP_E_TYPEMISMATCH;
  }
}

// src is dereferenced and not an object.
HRESULT convert(const Variant& src, VARTYPE vt, Variant* out) {
  if (vt == VT_VARIANT) { *out = src; return S_OK; }
  if (vt == VT_EMPTY) { *out = Variant(); return S_OK; }
  if ((vt & VT_ARRAY) || src.is_array()) {
    if (src.vt() != vt) return DISP_E_TYPEMISMATCH;
    *out = src;
    return S_OK;
  }
  if (src.is_null()) {
    if (vt != VT_NULL) return DISP_E_TYPEMISMATCH;
    *out = src;
    return S_OK;
  }
  std::int64_t i = 0;
  HRESULT hr = S_OK;
  switch (vt) {
    case VT_NULL:
      if (!src.is_empty()) return DISP_E_TYPEMISMATCH;
      *out = Variant::null();
      return S_OK;
    case VT_I2:
      if (failed(hr = integer_value(src, INT16_MIN, INT16_MAX, &i))) return hr;
      *out = Variant(static_cast<std::int16_t>(i));
      return S_OK;
    case VT_I4:
      if (src.vt() == VT_ERROR) { *out = Variant(src.scode()); return S_OK; }
      if (failed(hr = integer_value(src, INT32_MIN, INT32_MAX, &i))) return hr;
      *out = Variant(static_cast<std::int32_t>(i));
      return S_OK;
    case VT_UI1:
      if (src.vt() == VT_BOOL) { *out = Variant(static_cast<std::uint8_t>(src.boolean() ? 255 : 0)); return S_OK; }
      if (failed(hr = integer_value(src, 0, UINT8_MAX, &i))) return hr;
      *out = Variant(static_cast<std::uint8_t>(i));
      return S_OK;
    case VT_R4: {
      double d;
      if (failed(hr = double_value(src, &d))) return hr;
      if (std::isfinite(d) && std::fabs(d) > FLT_MAX) return DISP_E_OVERFLOW;
      *out = Variant(static_cast<float>(d));
      return S_OK;
    }
    case VT_R8: {
      double d;
      if (failed(hr = double_value(src, &d))) return hr;
      *out = Variant(d);
      return S_OK;
    }
    case VT_CY: {
      Currency c;
      if (failed(hr = currency_value(src, &c))) return hr;
      *out = Variant(c);
      return S_OK;
    }
    case VT_DATE: {
      double d;
      if (failed(hr = date_value(src, &d))) return hr;
      *out = Variant(Date{d});
      return S_OK;
    }
    case VT_BOOL: {
      bool b;
      if (failed(hr = bool_value(src, &b))) return hr;
      *out = Variant(b);
      return S_OK;
    }
    case VT_BSTR: {
      BStr s;
      if (failed(hr = text_value(src, &s))) return hr;
      *out = Variant(std::move(s));
      return S_OK;
    }
    case VT_ERROR:
      if (src.vt() == VT_ERROR) { *out = src; return S_OK; }
      if (failed(hr = integer_value(src, INT32_MIN, INT32_MAX, &i))) return hr;
      *out = Variant::error(static_cast<std::int32_t>(i));
      return S_OK;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      if (!src.is_empty()) return DISP_E_TYPEMISMATCH;
      *out = Variant(Ref<IDispatch>());
      return S_OK;
    default:
      return DISP_E_BADVARTYPE;
  }
}

// Gives the scalar to convert: src itself, or the default value of an
// object held in holder.
HRESULT scalar_of(const Variant& src, Variant& holder, const Variant** out, ChangeTypeFlags flags) {
  const Variant& v = src.deref();
  if (!v.is_object()) { *out = &v; return S_OK; }
  if (flags & VARIANT_NOVALUEPROP) return DISP_E_TYPEMISMATCH;
  if (HRESULT hr = default_value(v, &holder); failed(hr)) return hr;
  *out = &holder;
  return S_OK;
}

template <typename T, typename F>
HRESULT via_scalar(const Variant& v, T* out, F&& f) {
  Variant holder;
  const Variant* s;
  if (HRESULT hr = scalar_of(v, holder, &s, 0); failed(hr)) return hr;
  return f(*s, out);
}

}  // namespace

HRESULT default_value(const Variant& v, Variant* out, ExcepInfo* excep) {
  Variant current = v.deref();
  for (int depth = 0; current.is_object(); ++depth) {
    if (depth == max_default_depth || !current.dispatch()) return DISP_E_TYPEMISMATCH;
    Ref<IDispatch> obj = current.dispatch();
    Variant result;
    HRESULT hr = obj->Invoke(DISPID_VALUE, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &result, excep);
    if (hr == DISP_E_MEMBERNOTFOUND || hr == DISP_E_UNKNOWNNAME || hr == DISP_E_BADPARAMCOUNT) return DISP_E_TYPEMISMATCH;
    if (failed(hr)) return hr;
    current = result.deref();
  }
  *out = std::move(current);
  return S_OK;
}

HRESULT change_type(Variant& dest, const Variant& src, VARTYPE vt) { return change_type(dest, src, vt, 0); }

HRESULT change_type(Variant& dest, const Variant& src, VARTYPE vt, ChangeTypeFlags flags) {
  const Variant& v = src.deref();
  Variant result;
  HRESULT hr;
  if (v.is_object() && (vt == VT_DISPATCH || vt == VT_UNKNOWN || vt == VT_VARIANT)) {
    result = v;
    hr = S_OK;
  } else {
    Variant holder;
    const Variant* s;
    if (failed(hr = scalar_of(v, holder, &s, flags))) return hr;
    hr = convert(*s, vt, &result);
  }
  if (succeeded(hr)) dest = std::move(result);
  return hr;
}

HRESULT to_i2(const Variant& v, std::int16_t* out) {
  if (v.vt() == VT_I2) { *out = v.i2(); return S_OK; }
  return via_scalar(v, out, [](const Variant& s, std::int16_t* o) {
    std::int64_t i;
    HRESULT hr = integer_value(s, INT16_MIN, INT16_MAX, &i);
    if (succeeded(hr)) *o = static_cast<std::int16_t>(i);
    return hr;
  });
}

HRESULT to_i4(const Variant& v, std::int32_t* out) {
  if (v.vt() == VT_I4) { *out = v.i4(); return S_OK; }
  if (v.vt() == VT_I2) { *out = v.i2(); return S_OK; }
  return via_scalar(v, out, [](const Variant& s, std::int32_t* o) {
    if (s.vt() == VT_ERROR) { *o = s.scode(); return S_OK; }
    std::int64_t i;
    HRESULT hr = integer_value(s, INT32_MIN, INT32_MAX, &i);
    if (succeeded(hr)) *o = static_cast<std::int32_t>(i);
    return hr;
  });
}

HRESULT to_ui1(const Variant& v, std::uint8_t* out) {
  return via_scalar(v, out, [](const Variant& s, std::uint8_t* o) {
    Variant r;
    HRESULT hr = convert(s, VT_UI1, &r);
    if (succeeded(hr)) *o = r.ui1();
    return hr;
  });
}

HRESULT to_r4(const Variant& v, float* out) {
  return via_scalar(v, out, [](const Variant& s, float* o) {
    Variant r;
    HRESULT hr = s.is_null() ? DISP_E_TYPEMISMATCH : convert(s, VT_R4, &r);
    if (succeeded(hr)) *o = r.r4();
    return hr;
  });
}

HRESULT to_r8(const Variant& v, double* out) {
  if (v.vt() == VT_R8) { *out = v.r8(); return S_OK; }
  if (v.vt() == VT_I4) { *out = v.i4(); return S_OK; }
  return via_scalar(v, out, [](const Variant& s, double* o) { return double_value(s, o); });
}

HRESULT to_bool(const Variant& v, bool* out) {
  if (v.vt() == VT_BOOL) { *out = v.boolean(); return S_OK; }
  return via_scalar(v, out, [](const Variant& s, bool* o) { return bool_value(s, o); });
}

HRESULT to_bstr(const Variant& v, BStr* out) {
  if (v.vt() == VT_BSTR) { *out = v.bstr(); return S_OK; }
  return via_scalar(v, out, [](const Variant& s, BStr* o) { return text_value(s, o); });
}

HRESULT to_date(const Variant& v, Date* out) {
  return via_scalar(v, out, [](const Variant& s, Date* o) { return date_value(s, &o->value); });
}

HRESULT to_cy(const Variant& v, Currency* out) {
  return via_scalar(v, out, [](const Variant& s, Currency* o) { return currency_value(s, o); });
}

}  // namespace tap::com
