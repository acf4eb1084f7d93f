// CBool ... CStr convert through the automation conversions; Hex, Oct, Fix,
// Int and Round keep the numeric type of their argument where VBScript does.
#include <cmath>
#include <cstdint>

#include "platform/com/conversions.h"
#include "vbscript/builtins/Builtin.h"
#include "vbscript/builtins/builtin_args.h"

namespace tap::vbs {

namespace {

using namespace builtin;
using com::Variant;

Variant convert(const Variant& v, com::VARTYPE vt) {
  if (v.is_null()) raise(RuntimeError::invalid_use_of_null);
  Variant out;
  throw_if_failed(com::change_type(out, v, vt));
  return out;
}

Variant cbool(BuiltinState&, Args a) { return convert(a[0], com::VT_BOOL); }
Variant cbyte(BuiltinState&, Args a) { return convert(a[0], com::VT_UI1); }
Variant ccur(BuiltinState&, Args a) { return convert(a[0], com::VT_CY); }
// CDate also takes text that reads as a number ("1" is 12/31/1899) where
// the date conversion itself refuses it.
Variant cdate(BuiltinState&, Args a) {
  if (a[0].vt() == com::VT_BSTR) {
    Variant out;
    com::HRESULT hr = com::change_type(out, a[0], com::VT_DATE);
    if (com::succeeded(hr)) return out;
    double serial;
    if (com::succeeded(com::to_r8(a[0], &serial))) return convert(Variant(serial), com::VT_DATE);
    throw_if_failed(hr);
  }
  return convert(a[0], com::VT_DATE);
}
Variant cdbl(BuiltinState&, Args a) { return convert(a[0], com::VT_R8); }
Variant cint(BuiltinState&, Args a) { return convert(a[0], com::VT_I2); }
Variant clng(BuiltinState&, Args a) { return convert(a[0], com::VT_I4); }
Variant csng(BuiltinState&, Args a) { return convert(a[0], com::VT_R4); }
Variant cstr(BuiltinState&, Args a) { return convert(a[0], com::VT_BSTR); }

// Hex and Oct show Integer and Byte values in 16 bits (Hex(-1) = "FFFF")
// and everything else as a Long.
Variant radix_text(const Variant& v, unsigned bits_per_digit) {
  if (v.is_null()) return Variant::null();
  std::uint32_t bits;
  if (v.vt() == com::VT_I2 || v.vt() == com::VT_UI1 || v.vt() == com::VT_BOOL) {
    bits = static_cast<std::uint16_t>(to_integer(v));
  } else {
    bits = static_cast<std::uint32_t>(to_long(v));
  }
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string out;
  do {
    out.insert(out.begin(), kDigits[bits & ((1u << bits_per_digit) - 1)]);
    bits >>= bits_per_digit;
  } while (bits != 0);
  return Variant(std::move(out));
}

Variant hex(BuiltinState&, Args a) { return radix_text(a[0], 4); }
Variant oct(BuiltinState&, Args a) { return radix_text(a[0], 3); }

// Fix truncates, Int floors (Currency: see int_); both keep the variant type of a number and
// turn text into Double.
Variant whole_part(const Variant& v, double (*op)(double)) {
  switch (v.vt()) {
    case com::VT_NULL: return Variant::null();
    case com::VT_EMPTY: return Variant(std::int16_t{0});
    case com::VT_I2:
    case com::VT_I4:
    case com::VT_UI1: return v;
    case com::VT_BOOL: return Variant(static_cast<std::int16_t>(v.boolean() ? -1 : 0));
    case com::VT_R4: return Variant(static_cast<float>(op(v.r4())));
    case com::VT_DATE: return Variant(com::Date{op(v.date().value)});
    case com::VT_CY: return Variant(com::Currency{v.cy().scaled / 10000 * 10000});
    default: return Variant(op(to_double(v)));
  }
}

double trunc_d(double x) { return std::trunc(x); }
double floor_d(double x) { return std::floor(x); }

Variant fix(BuiltinState&, Args a) { return whole_part(a[0], trunc_d); }
Variant int_(BuiltinState&, Args a) {
  if (a[0].vt() == com::VT_CY) {
    std::int64_t s = a[0].cy().scaled, r = s % 10000;
    if (r == 0) return a[0];
    std::int64_t toward_zero = s - r;
    if (r > 0) return Variant(com::Currency{toward_zero});
    if (toward_zero < INT64_MIN + 10000) raise(RuntimeError::overflow);
    return Variant(com::Currency{toward_zero - 10000});
  }
  return whole_part(a[0], floor_d);
}

// Half-way cases go to the even neighbour, after scaling by 10^digits.
double round_half_even(double x, int digits) {
  double scale = std::pow(10.0, digits);
  double scaled = x * scale;
  if (!std::isfinite(scaled)) return x;
  double lower = std::floor(scaled);
  double diff = scaled - lower;
  double r;
  // A tolerance absorbs the error of the scaling itself (2.675 * 100).
  constexpr double kEps = 1e-9;
  if (diff > 0.5 + kEps) {
    r = lower + 1;
  } else if (diff < 0.5 - kEps) {
    r = lower;
  } else {
    r = std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
  }
  return r / scale;
}

Variant round(BuiltinState&, Args a) {
  const Variant& v = a[0];
  if (v.is_null()) return Variant::null();
  std::int32_t digits = optional_long(a, 1, 0);
  if (digits < 0) raise(RuntimeError::invalid_procedure_call);
  if (digits > 22) digits = 22;
  switch (v.vt()) {
    case com::VT_EMPTY: return Variant(std::int16_t{0});
    case com::VT_I2:
    case com::VT_I4:
    case com::VT_UI1: return v;
    case com::VT_BOOL: return Variant(static_cast<std::int16_t>(v.boolean() ? -1 : 0));
    case com::VT_R4: return Variant(static_cast<float>(round_half_even(v.r4(), digits)));
    case com::VT_CY: {
      if (digits >= 4) return v;
      std::int64_t unit = 1;
      for (int i = digits; i < 4; ++i) unit *= 10;
      std::int64_t s = v.cy().scaled, q = s / unit, r = s % unit;
      std::int64_t twice = 2 * (r < 0 ? -r : r);
      if (twice > unit || (twice == unit && q % 2 != 0)) q += s < 0 ? -1 : 1;
      if (q > INT64_MAX / unit || q < INT64_MIN / unit) raise(RuntimeError::overflow);
      return Variant(com::Currency{q * unit});
    }
    case com::VT_DATE: return Variant(com::Date{round_half_even(v.date().value, digits)});
    default: return Variant(round_half_even(to_double(v), digits));
  }
}

constexpr auto kValueOnly = BuiltinUse::value_only;

constexpr Builtin kConversions[] = {
    {u"CBool", 1, 1, cbool},
    {u"CByte", 1, 1, cbyte, kValueOnly},
    {u"CCur", 1, 1, ccur, kValueOnly},
    {u"CDate", 1, 1, cdate, kValueOnly},
    {u"CDbl", 1, 1, cdbl, kValueOnly},
    {u"CInt", 1, 1, cint, kValueOnly},
    {u"CLng", 1, 1, clng, kValueOnly},
    {u"CSng", 1, 1, csng, kValueOnly},
    {u"CStr", 1, 1, cstr},
    {u"Hex", 1, 1, hex},
    {u"Oct", 1, 1, oct},
    {u"Fix", 1, 1, fix},
    {u"Int", 1, 1, int_},
    {u"Round", 1, 2, round},
};

}  // namespace

std::span<const Builtin> conversion_builtins() { return kConversions; }

}  // namespace tap::vbs
