#pragma once
// "s = s & a & b": string building. Where s holds a string no one else
// holds, the pieces are appended to its buffer in place, so a loop that
// builds a text one piece at a time costs linear time instead of copying
// the whole text each turn. What a script can observe is what the plain
// assignment gives: values, conversions, errors and their order.
#include "vbscript/compile/Node.h"
#include "vbscript/vm/ExprNodes.h"

namespace tap::vbs {

class AppendNode final : public Stmt {
 public:
  // `target` is both what is assigned and the first operand; `parts` are
  // the operands after it, left to right.
  AppendNode(std::int32_t l, std::int32_t c, std::unique_ptr<VarNode> target, ExprList parts)
      : Stmt(l, c), target_(std::move(target)), parts_(std::move(parts)) {}
  Flow exec(Runtime& rt) const override;

 private:
  Flow concatenate(Runtime& rt, com::Variant first) const;
  std::unique_ptr<VarNode> target_;
  ExprList parts_;
};

}  // namespace tap::vbs
