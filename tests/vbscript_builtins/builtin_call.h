#pragma once
// Calls built-ins through their registration tables, as the interpreter
// does, and compares results by type and value.
#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "platform/com/SafeArray.h"
#include "platform/com/case_fold.h"
#include "vbscript/ScriptError.h"
#include "vbscript/builtins/Builtin.h"

namespace tap::vbs::test {

using com::Variant;

inline const Builtin* find_builtin(std::u16string_view name) {
  for (auto table : {conversion_builtins(), string_builtins(), byte_string_builtins(), array_builtins(),
                     inspection_builtins(), math_builtins(), datetime_builtins(), format_builtins(),
                     locale_builtins()})
    for (const Builtin& b : table)
      if (b.name.size() == name.size() && com::compare_text(b.name, name, true) == 0) return &b;
  return nullptr;
}

// The result of a call, or the number of the error it raised.
struct Outcome {
  Variant value;
  std::optional<std::int32_t> error;
};

inline Outcome call(BuiltinState& state, std::u16string_view name, std::vector<Variant> args) {
  const Builtin* b = find_builtin(name);
  if (!b) {
    ADD_FAILURE() << "no built-in named " << std::string(name.begin(), name.end());
    return {};
  }
  EXPECT_GE(args.size(), b->min_args);
  EXPECT_LE(args.size(), b->max_args);
  try {
    return {b->fn(state, args), std::nullopt};
  } catch (const ScriptError& e) {
    return {Variant(), e.number()};
  }
}

inline Outcome call(std::u16string_view name, std::vector<Variant> args) {
  BuiltinState state;
  return call(state, name, std::move(args));
}

inline Variant date(double serial) { return Variant(com::Date{serial}); }
inline Variant i2(int v) { return Variant(static_cast<std::int16_t>(v)); }
inline Variant i4(std::int32_t v) { return Variant(v); }
inline Variant str(const char16_t* s) { return Variant(s); }

inline Variant array_of(std::vector<Variant> items) {
  auto a = std::make_shared<com::SafeArray>(
      std::vector<com::ArrayBound>{{0, static_cast<std::int32_t>(items.size())}});
  for (std::size_t i = 0; i < items.size(); ++i) a->data()[i] = items[i];
  return Variant(std::move(a));
}

std::string describe(const Variant& v);
bool same(const Variant& a, const Variant& b);

// One row of a table-driven test: the call and its expected result (or
// error number).
struct Case {
  const char16_t* name;
  std::vector<Variant> args;
  Variant expected;
  std::int32_t error = 0;
};

inline std::string label(const Case& c) {
  std::string s(c.name, c.name + std::char_traits<char16_t>::length(c.name));
  s += "(";
  for (std::size_t i = 0; i < c.args.size(); ++i) s += (i ? ", " : "") + describe(c.args[i]);
  return s + ")";
}

inline void run_cases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    Outcome out = call(c.name, c.args);
    if (c.error) {
      EXPECT_EQ(out.error.value_or(0), c.error) << label(c) << " gave " << describe(out.value);
    } else if (out.error) {
      ADD_FAILURE() << label(c) << " raised " << *out.error;
    } else {
      EXPECT_TRUE(same(out.value, c.expected))
          << label(c) << " gave " << describe(out.value) << ", expected " << describe(c.expected);
    }
  }
}

inline Case fails(const char16_t* name, std::vector<Variant> args, std::int32_t error) {
  return Case{name, std::move(args), Variant(), error};
}

}  // namespace tap::vbs::test
