#pragma once
// Recursive-descent parser over the token vector. Results carry a status
// and the position of the first error; nothing is thrown.
#include <cstdint>
#include <memory>
#include <string_view>

#include "vbscript/parse/Ast.h"

namespace tap::vbs {

struct ParseResult {
  std::unique_ptr<ast::Module> module;  // null on error
  ast::ExprPtr expression;              // parse_expression only
  std::int32_t error = 0;               // compilation error number (or 28)
  std::int32_t line = 0, column = 0;
  explicit operator bool() const { return error == 0; }
};

// A module: statements, procedures and classes.
ParseResult parse_module(std::u16string_view source);
// A single expression, for Eval.
ParseResult parse_expression(std::u16string_view source);

}  // namespace tap::vbs
