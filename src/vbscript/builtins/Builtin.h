#pragma once
// The contract between the interpreter and its built-in functions. Each
// family (conversion, strings, byte strings, arrays, inspection, math, date
// and time, formatting, locale) lives in its own source file with one
// registration table.
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/com/Variant.h"

namespace tap::vbs {

// State a built-in may keep per engine.
struct BuiltinState {
  // Rnd's 24-bit generator state; Rnd(0) gives it again as a fraction.
  std::uint32_t rnd_seed = 0x50000;
  // What GetLocale answers (English, United States until SetLocale).
  std::int32_t locale = 0x409;
};

// Arguments arrive evaluated and dereferenced (never VT_BYREF); an omitted
// optional argument is Variant::missing(). Failures throw ScriptError.
using BuiltinFn = com::Variant (*)(BuiltinState& state, std::span<com::Variant> args);

// Where a call may stand. Windows refuses a few built-ins in one of the two
// places: the numeric conversions as a statement ("Call CInt(1)": 458,
// after the conversion ran) and Randomize as a value (13).
enum class BuiltinUse : std::uint8_t { anywhere, value_only, statement_only };

struct Builtin {
  std::u16string_view name;  // as documented; looked up case-insensitively
  std::uint8_t min_args;
  std::uint8_t max_args;
  BuiltinFn fn;
  BuiltinUse use = BuiltinUse::anywhere;
};

std::span<const Builtin> conversion_builtins();
std::span<const Builtin> string_builtins();
std::span<const Builtin> byte_string_builtins();
std::span<const Builtin> array_builtins();
std::span<const Builtin> inspection_builtins();
std::span<const Builtin> math_builtins();
std::span<const Builtin> datetime_builtins();
std::span<const Builtin> format_builtins();
std::span<const Builtin> locale_builtins();

}  // namespace tap::vbs
