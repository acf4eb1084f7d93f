// Array, LBound, UBound and IsArray. An array with no elements has an upper
// bound one below its lower bound (UBound(Array()) = -1).
#include <vector>

#include "vbscript/builtins/Builtin.h"
#include "vbscript/builtins/builtin_args.h"

namespace tap::vbs {

namespace {

using namespace builtin;
using com::Variant;

Variant array(BuiltinState&, Args a) {
  std::vector<Variant> items;
  items.reserve(a.size());
  // A left-out argument (Array(1, , 3)) stores as a missing value would
  // confuse later calls; VBScript keeps it as Empty.
  for (Variant& v : a) items.push_back(v.is_missing() ? Variant() : v);
  return make_array(std::move(items));
}

// The bound of dimension (1-based, default 1); 13 for a non-array, 9 for a
// dimension the array does not have (also for Dim a() before any ReDim).
const com::ArrayBound& bound_of(Args a) {
  if (a[0].is_null()) raise(RuntimeError::invalid_use_of_null);
  if (!a[0].is_array()) raise(RuntimeError::type_mismatch);
  std::int32_t dim = optional_long(a, 1, 1);
  const com::SafeArray* arr = a[0].array().get();
  if (!arr || dim < 1 || static_cast<std::size_t>(dim) > arr->dimensions())
    raise(RuntimeError::subscript_out_of_range);
  return arr->bounds()[static_cast<std::size_t>(dim - 1)];
}

Variant lbound(BuiltinState&, Args a) { return Variant(bound_of(a).lower); }
Variant ubound(BuiltinState&, Args a) {
  const com::ArrayBound& b = bound_of(a);
  return Variant(b.lower + b.count - 1);
}
Variant isarray(BuiltinState&, Args a) { return Variant(a[0].is_array()); }

// Array takes any number of arguments; 255 is the most a call can pass.
constexpr Builtin kArrays[] = {
    {u"Array", 0, 255, array},
    {u"LBound", 1, 2, lbound},
    {u"UBound", 1, 2, ubound},
    {u"IsArray", 1, 1, isarray},
};

}  // namespace

std::span<const Builtin> array_builtins() { return kArrays; }

}  // namespace tap::vbs
