#pragma once
// The contract between the interpreter and its built-in functions. Each
// family (conversion, strings, arrays, inspection, math, date and time)
// lives in its own source file with one registration table.
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/com/Variant.h"

namespace tap::vbs {

// State a built-in may keep per engine.
struct BuiltinState {
  // Rnd's 24-bit generator state and last value (Rnd(0) repeats it).
  std::uint32_t rnd_seed = 0x50000;
  float rnd_last = 0;
};

// Arguments arrive evaluated and dereferenced (never VT_BYREF); an omitted
// optional argument is Variant::missing(). Failures throw ScriptError.
using BuiltinFn = com::Variant (*)(BuiltinState& state, std::span<com::Variant> args);

struct Builtin {
  std::u16string_view name;  // as documented; looked up case-insensitively
  std::uint8_t min_args;
  std::uint8_t max_args;
  BuiltinFn fn;
};

std::span<const Builtin> conversion_builtins();
std::span<const Builtin> string_builtins();
std::span<const Builtin> array_builtins();
std::span<const Builtin> inspection_builtins();
std::span<const Builtin> math_builtins();
std::span<const Builtin> datetime_builtins();
std::span<const Builtin> format_builtins();

}  // namespace tap::vbs
