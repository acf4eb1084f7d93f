// Math functions. Null passes through (except for Sgn, which raises 94);
// arguments outside a function's domain raise 5, results past Double's
// range raise 6. Rnd is the classic 24-bit linear congruential generator,
// so a seeded sequence repeats. RGB packs colour components.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "vbscript/builtins/Builtin.h"
#include "vbscript/builtins/builtin_args.h"

namespace tap::vbs {

namespace {

using namespace builtin;
using com::Variant;

Variant real(double x) {
  if (!std::isfinite(x)) raise(RuntimeError::overflow);
  return Variant(x);
}

Variant abs_(BuiltinState&, Args a) {
  const Variant& v = a[0];
  switch (v.vt()) {
    case com::VT_NULL: return Variant::null();
    case com::VT_EMPTY: return Variant(std::int16_t{0});
    case com::VT_UI1: return v;
    case com::VT_BOOL: return Variant(static_cast<std::int16_t>(v.boolean() ? 1 : 0));
    case com::VT_I2:
      if (v.i2() == INT16_MIN) return Variant(std::int32_t{32768});
      return Variant(static_cast<std::int16_t>(v.i2() < 0 ? -v.i2() : v.i2()));
    case com::VT_I4:
      if (v.i4() == INT32_MIN) return Variant(2147483648.0);
      return Variant(v.i4() < 0 ? -v.i4() : v.i4());
    case com::VT_R4: return Variant(std::fabs(v.r4()));
    case com::VT_CY:
      if (v.cy().scaled == INT64_MIN) raise(RuntimeError::overflow);
      return Variant(com::Currency{v.cy().scaled < 0 ? -v.cy().scaled : v.cy().scaled});
    case com::VT_DATE: return Variant(com::Date{std::fabs(v.date().value)});
    default: return Variant(std::fabs(to_double(v)));
  }
}

// Applies f to the argument as a Double; Null gives Null.
template <double (*F)(double)>
Variant unary(BuiltinState&, Args a) {
  if (a[0].is_null()) return Variant::null();
  return real(F(to_double(a[0])));
}

double atn_f(double x) { return std::atan(x); }
double cos_f(double x) { return std::cos(x); }
double sin_f(double x) { return std::sin(x); }
double tan_f(double x) { return std::tan(x); }
double exp_f(double x) { return std::exp(x); }

Variant log_(BuiltinState&, Args a) {
  if (a[0].is_null()) return Variant::null();
  double x = to_double(a[0]);
  if (!(x > 0)) raise(RuntimeError::invalid_procedure_call);
  return Variant(std::log(x));
}

Variant sqr(BuiltinState&, Args a) {
  if (a[0].is_null()) return Variant::null();
  double x = to_double(a[0]);
  if (x < 0) raise(RuntimeError::invalid_procedure_call);
  return Variant(std::sqrt(x));
}

Variant sgn(BuiltinState&, Args a) {
  double x = to_double(a[0]);
  return Variant(static_cast<std::int16_t>(x > 0 ? 1 : x < 0 ? -1 : 0));
}

constexpr std::uint32_t kRndMask = 0xFFFFFF;

float rnd_value(std::uint32_t seed) { return static_cast<float>(seed) / 16777216.0f; }

// Rnd([number]): negative reseeds from the number's bits, zero gives the
// generator's state again (the last value, or 0.01953125 before the first),
// positive or left out gives the next value.
Variant rnd(BuiltinState& st, Args a) {
  if (given(a, 0)) {
    double d = to_double(a[0]);
    if (std::fabs(d) > std::numeric_limits<float>::max()) raise(RuntimeError::overflow);
    float x = static_cast<float>(d);
    if (x == 0) return Variant(rnd_value(st.rnd_seed));
    if (x < 0) {
      std::uint32_t bits;
      std::memcpy(&bits, &x, sizeof bits);
      st.rnd_seed = (bits + (bits >> 24)) & kRndMask;
    }
  }
  st.rnd_seed = (st.rnd_seed * 0x43FD43FDu + 0xC39EC3u) & kRndMask;
  return Variant(rnd_value(st.rnd_seed));
}

// Randomize [number]: mixes the number (default: the clock) into the middle
// bytes of the seed.
Variant randomize(BuiltinState& st, Args a) {
  double x;
  if (given(a, 0)) {
    x = to_double(a[0]);
  } else {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    x = static_cast<double>(std::chrono::duration_cast<std::chrono::microseconds>(now).count() %
                            86400000000LL) / 1e6;
  }
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  std::uint32_t high = static_cast<std::uint32_t>(bits >> 32);
  std::uint32_t mixed = ((high >> 16) ^ high) & 0xFFFF;
  st.rnd_seed = (st.rnd_seed & 0xFF0000FFu) | (mixed << 8);
  st.rnd_seed &= kRndMask;
  return Variant();
}

// RGB(red, green, blue): red in the low byte; components above 255 count
// as 255, negative ones raise 5.
Variant rgb(BuiltinState&, Args a) {
  std::int32_t out = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    std::int32_t c = to_long(a[i]);
    if (c < 0) raise(RuntimeError::invalid_procedure_call);
    out |= (c > 255 ? 255 : c) << (8 * i);
  }
  return Variant(out);
}

constexpr Builtin kMath[] = {
    {u"Abs", 1, 1, abs_},          {u"Atn", 1, 1, unary<atn_f>}, {u"Cos", 1, 1, unary<cos_f>},
    {u"Exp", 1, 1, unary<exp_f>},  {u"Log", 1, 1, log_},         {u"Rnd", 0, 1, rnd},
    {u"Randomize", 0, 1, randomize, BuiltinUse::statement_only},
    {u"Sgn", 1, 1, sgn},           {u"Sin", 1, 1, unary<sin_f>}, {u"Sqr", 1, 1, sqr},
    {u"Tan", 1, 1, unary<tan_f>},  {u"RGB", 3, 3, rgb},
};

}  // namespace

std::span<const Builtin> math_builtins() { return kMath; }

}  // namespace tap::vbs
