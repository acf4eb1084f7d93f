#pragma once
// Argument handling shared by the built-in families: conversions that throw
// VBScript's errors, optional arguments, and the limits on result sizes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/com/SafeArray.h"
#include "platform/com/Variant.h"
#include "vbscript/ScriptError.h"
#include "vbscript/vm/RunLimits.h"

namespace tap::vbs::builtin {

using com::Variant;
using Args = std::span<Variant>;

// Longest string a built-in will build; past it scripts see error 7 rather
// than the process running out of memory.
inline constexpr std::size_t kMaxStringLength = std::size_t{1} << 26;

[[noreturn]] void raise(RuntimeError e);

// True when argument i was passed and not left out.
inline bool given(Args args, std::size_t i) { return i < args.size() && !args[i].is_missing(); }

// Conversions of a required value. Null raises 94; values that do not
// convert raise 13 or 6 as the automation conversion reports.
std::int16_t to_integer(const Variant& v);
std::int32_t to_long(const Variant& v);
double to_double(const Variant& v);
bool to_boolean(const Variant& v);
com::BStr to_text(const Variant& v);
double to_date_serial(const Variant& v);

// A count that must not be negative, and a 1-based start position; 5 for
// anything smaller.
std::size_t count_arg(const Variant& v);
std::size_t start_arg(const Variant& v);

// Optional Long argument i, or fallback when left out.
std::int32_t optional_long(Args args, std::size_t i, std::int32_t fallback);
// Optional vbBinaryCompare (0, default) / vbTextCompare (1) argument.
bool text_compare_arg(Args args, std::size_t i);

// The arguments of InStr and InStrB: ([start, ]string1, string2[, compare]).
struct InStrArgs {
  std::size_t start = 1;
  bool text = false;
  const Variant* haystack = nullptr;
  const Variant* needle = nullptr;
};
InStrArgs instr_args(Args args);

// The one-dimensional array a function like Split or Filter takes; 13 for
// anything else.
const com::SafeArray& vector_arg(const Variant& v);
// A new zero-based one-dimensional array of variants.
Variant make_array(std::vector<Variant> items);

// The work of a built-in that goes through large texts or arrays, counted
// against the run's deadline, and its working storage, against the memory
// budget. Outside a run it counts nothing.
class Work {
 public:
  Work() : limits_(RunLimits::active()) {}
  Work(const Work&) = delete;
  Work& operator=(const Work&) = delete;

  // `items` elements or pieces handled.
  void items(std::size_t n = 1) {
    if (limits_) limits_->spend(n);
  }
  // `n` characters copied or scanned.
  void chars(std::size_t n) { items(1 + n / chars_per_unit); }
  // Working storage (a text or vector being built) now takes `bytes`.
  void holds(std::size_t bytes) {
    if (bytes > held_.bytes()) held_.resize(bytes);
  }
  // The storage becomes the result, charged as such from here on.
  void release() { held_.clear(); }

  static constexpr std::size_t chars_per_unit = 64;

 private:
  RunLimits* limits_;
  com::MeterCharge held_;
};

// A string result, checked against kMaxStringLength.
Variant text_result(std::u16string text);
void check_length(std::size_t length);

}  // namespace tap::vbs::builtin
