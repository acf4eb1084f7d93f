#include "vbscript/vm/OpNodes.h"

#include <cmath>
#include <limits>

#include "platform/com/Dispatch.h"
#include "platform/com/operators.h"
#include "vbscript/ScriptError.h"
#include "vbscript/vm/calls.h"

namespace tap::vbs {

using ast::Op;
using com::Variant;

namespace {

bool small_int(const Variant& v, std::int64_t& out) {
  if (v.vt() == com::VT_I2) { out = v.i2(); return true; }
  if (v.vt() == com::VT_I4) { out = v.i4(); return true; }
  return false;
}

bool real(const Variant& v, double& out) {
  switch (v.vt()) {
    case com::VT_I2: out = v.i2(); return true;
    case com::VT_I4: out = v.i4(); return true;
    case com::VT_R8: out = v.r8(); return true;
    default: return false;
  }
}

// Integer + Integer stays Integer, widening to Long and then Double on
// overflow, as the automation operators do.
Variant int_result(std::int64_t r, bool both_i2) {
  if (both_i2 && r >= -32768 && r <= 32767) return Variant(static_cast<std::int16_t>(r));
  if (r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max())
    return Variant(static_cast<std::int32_t>(r));
  return Variant(static_cast<double>(r));
}

using OpFn = com::HRESULT (*)(const Variant&, const Variant&, Variant*);

OpFn op_function(Op op) {
  switch (op) {
    case Op::add: return com::var_add;
    case Op::sub: return com::var_sub;
    case Op::mul: return com::var_mul;
    case Op::div: return com::var_div;
    case Op::idiv: return com::var_idiv;
    case Op::mod: return com::var_mod;
    case Op::pow: return com::var_pow;
    case Op::cat: return com::var_cat;
    case Op::and_: return com::var_and;
    case Op::or_: return com::var_or;
    case Op::xor_: return com::var_xor;
    case Op::eqv: return com::var_eqv;
    case Op::imp: return com::var_imp;
    default: return nullptr;
  }
}

Variant compare(Op op, const Variant& a, const Variant& b) {
  com::Compare c;
  double x, y;
  if (real(a, x) && real(b, y)) {
    c = x < y ? com::Compare::less : (x > y ? com::Compare::greater : com::Compare::equal);
  } else {
    throw_if_failed(com::var_cmp(a, b, &c));
  }
  if (c == com::Compare::null) return Variant::null();
  switch (op) {
    case Op::eq: return Variant(c == com::Compare::equal);
    case Op::ne: return Variant(c != com::Compare::equal);
    case Op::lt: return Variant(c == com::Compare::less);
    case Op::gt: return Variant(c == com::Compare::greater);
    case Op::le: return Variant(c != com::Compare::greater);
    default: return Variant(c != com::Compare::less);
  }
}

Variant object_identity(const Variant& a, const Variant& b) {
  if (!a.is_object() || !b.is_object()) throw ScriptError(RuntimeError::object_required);
  return Variant(a.dispatch().get() == b.dispatch().get());
}

}  // namespace

Variant apply_binary(Op op, const Variant& a0, const Variant& b0) {
  if (op == Op::is) return object_identity(a0.deref(), b0.deref());
  std::int64_t i, j;
  if (small_int(a0, i) && small_int(b0, j)) {
    bool both_i2 = a0.vt() == com::VT_I2 && b0.vt() == com::VT_I2;
    switch (op) {
      case Op::add: return int_result(i + j, both_i2);
      case Op::sub: return int_result(i - j, both_i2);
      case Op::mul: return int_result(i * j, both_i2);
      default: break;
    }
  } else if ((a0.vt() == com::VT_R8 || b0.vt() == com::VT_R8)) {
    double x, y;
    if (real(a0, x) && real(b0, y)) {
      double r = NAN;
      switch (op) {
        case Op::add: r = x + y; break;
        case Op::sub: r = x - y; break;
        case Op::mul: r = x * y; break;
        default: break;
      }
      // A result past Double's range takes the general path, which reports
      // the overflow.
      if (std::isfinite(r)) return Variant(r);
    }
  }
  const Variant& a = a0.deref();
  const Variant& b = b0.deref();
  Variant da, db;
  const Variant* pa = &a;
  const Variant* pb = &b;
  if (a.is_object()) { da = default_value(a); pa = &da; }
  if (b.is_object()) { db = default_value(b); pb = &db; }
  switch (op) {
    case Op::eq: case Op::ne: case Op::lt: case Op::gt: case Op::le: case Op::ge:
      return compare(op, *pa, *pb);
    default: break;
  }
  if ((op == Op::cat || op == Op::add) && pa->vt() == com::VT_BSTR && pb->vt() == com::VT_BSTR &&
      pa->bstr().size() + pb->bstr().size() > max_string_length)
    throw ScriptError(RuntimeError::out_of_memory);
  OpFn fn = op_function(op);
  if (!fn) throw ScriptError(RuntimeError::internal_error);
  Variant r;
  throw_if_failed(fn(*pa, *pb, &r));
  check_string(r);
  return r;
}

bool values_equal(const Variant& a, const Variant& b) {
  Variant r = apply_binary(Op::eq, a, b);
  return r.vt() == com::VT_BOOL && r.boolean();
}

Variant BinaryNode::eval(Runtime& rt) const {
  // Operands that are plain variables are read in place. The left one
  // only when reading the right one cannot run code that changes it.
  if (const Variant* b = b_->peek(rt)) {
    if (const Variant* a = a_->peek(rt)) return apply_binary(op_, *a, *b);
    Variant a = a_->eval(rt);
    return apply_binary(op_, a, *b_->peek(rt));
  }
  Variant a = a_->eval(rt);
  Variant b = b_->eval(rt);
  return apply_binary(op_, a, b);
}

Variant UnaryNode::eval(Runtime& rt) const {
  Variant a = a_->eval(rt);
  if (op_ == Op::not_ && a.vt() == com::VT_BOOL) return Variant(!a.boolean());
  if (a.is_object()) a = default_value(a);
  Variant r;
  throw_if_failed(op_ == Op::neg ? com::var_neg(a.deref(), &r) : com::var_not(a.deref(), &r));
  return r;
}

}  // namespace tap::vbs
