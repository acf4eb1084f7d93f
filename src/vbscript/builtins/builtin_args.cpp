#include "vbscript/builtins/builtin_args.h"

#include "platform/com/conversions.h"
#include "vbscript/builtins/date_serial.h"

namespace tap::vbs::builtin {

void raise(RuntimeError e) { throw ScriptError(e); }

namespace {

void reject_null(const Variant& v) {
  if (v.is_null()) raise(RuntimeError::invalid_use_of_null);
}

}  // namespace

std::int16_t to_integer(const Variant& v) {
  reject_null(v);
  std::int16_t out = 0;
  throw_if_failed(com::to_i2(v, &out));
  return out;
}

std::int32_t to_long(const Variant& v) {
  reject_null(v);
  std::int32_t out = 0;
  throw_if_failed(com::to_i4(v, &out));
  return out;
}

double to_double(const Variant& v) {
  reject_null(v);
  double out = 0;
  throw_if_failed(com::to_r8(v, &out));
  return out;
}

bool to_boolean(const Variant& v) {
  reject_null(v);
  bool out = false;
  throw_if_failed(com::to_bool(v, &out));
  return out;
}

com::BStr to_text(const Variant& v) {
  reject_null(v);
  com::BStr out;
  throw_if_failed(com::to_bstr(v, &out));
  return out;
}

double to_date_serial(const Variant& v) {
  reject_null(v);
  com::Date out;
  throw_if_failed(com::to_date(v, &out));
  // Arithmetic on dates can leave the calendar's range; the calendar code
  // relies on it.
  if (!date_in_range(out.value)) raise(RuntimeError::overflow);
  return out.value;
}

std::size_t count_arg(const Variant& v) {
  std::int32_t n = to_long(v);
  if (n < 0) raise(RuntimeError::invalid_procedure_call);
  return static_cast<std::size_t>(n);
}

std::size_t start_arg(const Variant& v) {
  std::int32_t n = to_long(v);
  if (n < 1) raise(RuntimeError::invalid_procedure_call);
  return static_cast<std::size_t>(n);
}

std::int32_t optional_long(Args args, std::size_t i, std::int32_t fallback) {
  return given(args, i) ? to_long(args[i]) : fallback;
}

bool text_compare_arg(Args args, std::size_t i) {
  std::int32_t mode = optional_long(args, i, 0);
  if (mode != 0 && mode != 1) raise(RuntimeError::invalid_procedure_call);
  return mode == 1;
}

const com::SafeArray& vector_arg(const Variant& v) {
  if (v.is_null()) raise(RuntimeError::invalid_use_of_null);
  if (!v.is_array() || !v.array() || v.array()->dimensions() != 1) raise(RuntimeError::type_mismatch);
  return *v.array();
}

Variant make_array(std::vector<Variant> items) {
  if (items.size() > com::SafeArray::max_elements) raise(RuntimeError::out_of_memory);
  std::shared_ptr<com::SafeArray> array;
  throw_if_failed(com::SafeArray::create(
      std::vector<com::ArrayBound>{{0, static_cast<std::int32_t>(items.size())}}, false, &array));
  for (std::size_t i = 0; i < items.size(); ++i) array->data()[i] = std::move(items[i]);
  return Variant(std::move(array));
}

void check_length(std::size_t length) {
  if (length > kMaxStringLength) raise(RuntimeError::out_of_memory);
}

Variant text_result(std::u16string text) {
  check_length(text.size());
  return Variant(std::move(text));
}

InStrArgs instr_args(Args args) {
  InStrArgs r;
  std::size_t first = 0;
  if (args.size() >= 3) {
    if (given(args, 0)) r.start = start_arg(args[0]);
    r.text = text_compare_arg(args, 3);
    first = 1;
  }
  r.haystack = &args[first];
  r.needle = &args[first + 1];
  return r;
}

}  // namespace tap::vbs::builtin
