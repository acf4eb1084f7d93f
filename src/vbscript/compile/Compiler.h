#pragma once
// Turns a syntax tree into the compiled form: resolves every name to a
// local slot, a field, a global link or a built-in, and checks what the
// parser cannot (Exit outside its block, Me outside a class, duplicates).
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "vbscript/compile/Program.h"
#include "vbscript/parse/Ast.h"

namespace tap::vbs {

struct CompileResult {
  std::shared_ptr<CompiledModule> module;  // null on error
  std::int32_t error = 0;
  std::int32_t line = 0, column = 0;
  explicit operator bool() const { return error == 0; }
};

// Parses and compiles a module text.
CompileResult compile_module(std::u16string_view source);

// Code run by Execute or Eval inside a procedure: it sees the procedure's
// locals (and Me's members); other names are globals.
struct DynamicScope {
  const Procedure* proc = nullptr;  // null: global scope (ExecuteGlobal)
  std::function<bool(std::u16string_view lower_name)> is_global;
};
CompileResult compile_dynamic(std::u16string_view source, const DynamicScope& scope, bool expression);

}  // namespace tap::vbs
