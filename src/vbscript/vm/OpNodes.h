#pragma once
// Operator nodes. Integer and Double operands take a fast path; everything
// else goes through the automation operators, which own the typing rules.
#include "vbscript/compile/Node.h"
#include "vbscript/parse/Ast.h"

namespace tap::vbs {

class UnaryNode final : public Expr {
 public:
  UnaryNode(std::int32_t l, std::int32_t c, ast::Op op, ExprNode a) : Expr(l, c), op_(op), a_(std::move(a)) {}
  com::Variant eval(Runtime& rt) const override;

 private:
  ast::Op op_;
  ExprNode a_;
};

class BinaryNode final : public Expr {
 public:
  BinaryNode(std::int32_t l, std::int32_t c, ast::Op op, ExprNode a, ExprNode b)
      : Expr(l, c), op_(op), a_(std::move(a)), b_(std::move(b)) {}
  com::Variant eval(Runtime& rt) const override;

 private:
  ast::Op op_;
  ExprNode a_, b_;
};

// The operators themselves, for nodes and for Select Case / For loops.
com::Variant apply_binary(ast::Op op, const com::Variant& a, const com::Variant& b);
// a = b for Select Case: true, false, or false for Null.
bool values_equal(const com::Variant& a, const com::Variant& b);

}  // namespace tap::vbs
