#pragma once
// Statement nodes.
#include <vector>

#include "vbscript/compile/Node.h"
#include "vbscript/parse/Ast.h"

namespace tap::vbs {

class AssignNode final : public Stmt {
 public:
  AssignNode(std::int32_t l, std::int32_t c, ExprNode target, ExprNode value, bool is_set)
      : Stmt(l, c), target_(std::move(target)), value_(std::move(value)), is_set_(is_set) {}
  Flow exec(Runtime& rt) const override;

 private:
  ExprNode target_, value_;
  bool is_set_;
};

// A constant: assigned once, then read-only.
class ConstNode final : public Stmt {
 public:
  ConstNode(std::int32_t l, std::int32_t c, ExprNode target, ExprNode value, std::int32_t global_link)
      : Stmt(l, c), target_(std::move(target)), value_(std::move(value)), link_(global_link) {}
  Flow exec(Runtime& rt) const override;

 private:
  ExprNode target_, value_;
  std::int32_t link_;  // -1 for a procedure's constant
};

class CallNode final : public Stmt {
 public:
  CallNode(std::int32_t l, std::int32_t c, ExprNode call) : Stmt(l, c), call_(std::move(call)) {}
  Flow exec(Runtime& rt) const override;

 private:
  ExprNode call_;
};

// Dim a(n, m) and ReDim [Preserve] a(n, m).
class DimArrayNode final : public Stmt {
 public:
  DimArrayNode(std::int32_t l, std::int32_t c, ExprNode target, ExprList bounds, bool redim, bool preserve)
      : Stmt(l, c), target_(std::move(target)), bounds_(std::move(bounds)), redim_(redim), preserve_(preserve) {}
  Flow exec(Runtime& rt) const override;

 private:
  ExprNode target_;
  ExprList bounds_;  // empty: "Dim a()"
  bool redim_, preserve_;
};

class EraseNode final : public Stmt {
 public:
  EraseNode(std::int32_t l, std::int32_t c, ExprNode target) : Stmt(l, c), target_(std::move(target)) {}
  Flow exec(Runtime& rt) const override;

 private:
  ExprNode target_;
};

class IfNode final : public Stmt {
 public:
  IfNode(std::int32_t l, std::int32_t c) : Stmt(l, c) {}
  Flow exec(Runtime& rt) const override;
  std::vector<std::pair<ExprNode, Block>> arms;
  Block otherwise;
};

class SelectNode final : public Stmt {
 public:
  SelectNode(std::int32_t l, std::int32_t c, ExprNode subject) : Stmt(l, c), subject_(std::move(subject)) {}
  Flow exec(Runtime& rt) const override;
  struct Case {
    ExprList values;  // empty: Case Else
    Block body;
  };
  std::vector<Case> cases;

 private:
  ExprNode subject_;
};

class ForNode final : public Stmt {
 public:
  ForNode(std::int32_t l, std::int32_t c, ExprNode var, ExprNode from, ExprNode to, ExprNode step)
      : Stmt(l, c), var_(std::move(var)), from_(std::move(from)), to_(std::move(to)), step_(std::move(step)) {}
  Flow exec(Runtime& rt) const override;
  Block body;

 private:
  Flow generic(Runtime& rt, com::Variant to, com::Variant step) const;
  ExprNode var_, from_, to_, step_;
};

class ForEachNode final : public Stmt {
 public:
  ForEachNode(std::int32_t l, std::int32_t c, ExprNode var, ExprNode collection)
      : Stmt(l, c), var_(std::move(var)), collection_(std::move(collection)) {}
  Flow exec(Runtime& rt) const override;
  Block body;

 private:
  ExprNode var_, collection_;
};

class DoNode final : public Stmt {
 public:
  DoNode(std::int32_t l, std::int32_t c, ExprNode cond, bool until, bool test_at_end)
      : Stmt(l, c), cond_(std::move(cond)), until_(until), test_at_end_(test_at_end) {}
  Flow exec(Runtime& rt) const override;
  Block body;

 private:
  bool keep_going(Runtime& rt) const;
  ExprNode cond_;
  bool until_, test_at_end_;
};

class WithNode final : public Stmt {
 public:
  WithNode(std::int32_t l, std::int32_t c, std::int32_t slot, ExprNode object)
      : Stmt(l, c), slot_(slot), object_(std::move(object)) {}
  Flow exec(Runtime& rt) const override;
  Block body;

 private:
  std::int32_t slot_;
  ExprNode object_;
};

class ExitNode final : public Stmt {
 public:
  ExitNode(std::int32_t l, std::int32_t c, Flow flow) : Stmt(l, c), flow_(flow) {}
  Flow exec(Runtime& rt) const override;

 private:
  Flow flow_;
};

class OnErrorNode final : public Stmt {
 public:
  OnErrorNode(std::int32_t l, std::int32_t c, bool resume_next) : Stmt(l, c), resume_next_(resume_next) {}
  Flow exec(Runtime& rt) const override;

 private:
  bool resume_next_;
};

}  // namespace tap::vbs
