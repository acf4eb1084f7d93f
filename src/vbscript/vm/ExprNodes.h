#pragma once
// Expression nodes for names, members, calls and object creation.
#include <string>

#include "vbscript/builtins/Builtin.h"
#include "vbscript/compile/Node.h"
#include "vbscript/vm/Runtime.h"

namespace tap::vbs {

// Where a name lives, fixed at compile time. An implicit name is a local
// unless a global of that name exists when the code runs.
struct NameRef {
  enum class Kind : std::uint8_t { local, global, implicit, field };
  Kind kind = Kind::local;
  std::int32_t local = -1;
  std::int32_t link = -1;
  bool option_explicit = false;

  // The variable's storage (dereferenced), or null when the name is a
  // global procedure (then *proc_slot is set).
  com::Variant* storage(Runtime& rt, bool for_write, GlobalSlot** proc_slot) const;
};

class Literal final : public Expr {
 public:
  Literal(std::int32_t l, std::int32_t c, com::Variant v) : Expr(l, c), value_(std::move(v)) {}
  com::Variant eval(Runtime&) const override { return value_; }
  const com::Variant* peek(Runtime&) const override { return &value_; }

 private:
  com::Variant value_;
};

// A name without arguments: variable, constant or argument-less call.
class VarNode final : public Expr {
 public:
  VarNode(std::int32_t l, std::int32_t c, NameRef r) : Expr(l, c), ref_(r) {}
  com::Variant eval(Runtime& rt) const override;
  const com::Variant* peek(Runtime& rt) const override;
  com::Variant* address(Runtime& rt, ArrayLock&) const override;
  void assign(Runtime& rt, com::Variant v, bool is_set) const override;

 private:
  NameRef ref_;
};

// name(args): array element, default member, or a global procedure call.
class VarCallNode final : public Expr {
 public:
  VarCallNode(std::int32_t l, std::int32_t c, NameRef r, ExprList args)
      : Expr(l, c), ref_(r), args_(std::move(args)) {}
  com::Variant eval(Runtime& rt) const override;
  com::Variant* address(Runtime& rt, ArrayLock& lock) const override;
  void assign(Runtime& rt, com::Variant v, bool is_set) const override;

 private:
  NameRef ref_;
  ExprList args_;
};

// A method or property of Me called by its bare name inside the class.
class MeCallNode final : public Expr {
 public:
  MeCallNode(std::int32_t l, std::int32_t c, std::int32_t member, ExprList args)
      : Expr(l, c), member_(member), args_(std::move(args)) {}
  com::Variant eval(Runtime& rt) const override;
  void assign(Runtime& rt, com::Variant v, bool is_set) const override;

 private:
  std::int32_t member_;
  ExprList args_;
};

// object.name [(args)]
class MemberNode final : public Expr {
 public:
  MemberNode(std::int32_t l, std::int32_t c, ExprNode object, std::u16string name, ExprList args,
             bool allow_private)
      : Expr(l, c), object_(std::move(object)), name_(std::move(name)), args_(std::move(args)),
        allow_private_(allow_private) {}
  com::Variant eval(Runtime& rt) const override;
  void assign(Runtime& rt, com::Variant v, bool is_set) const override;

 private:
  ExprNode object_;
  std::u16string name_;
  ExprList args_;
  bool allow_private_;
};

// expr(args) on any value: "f()(1)", "(a)(1)".
class IndexNode final : public Expr {
 public:
  IndexNode(std::int32_t l, std::int32_t c, ExprNode base, ExprList args)
      : Expr(l, c), base_(std::move(base)), args_(std::move(args)) {}
  com::Variant eval(Runtime& rt) const override;
  void assign(Runtime& rt, com::Variant v, bool is_set) const override;

 private:
  ExprNode base_;
  ExprList args_;
};

class BuiltinNode final : public Expr {
 public:
  BuiltinNode(std::int32_t l, std::int32_t c, const Builtin* fn, ExprList args)
      : Expr(l, c), fn_(fn), args_(std::move(args)) {}
  com::Variant eval(Runtime& rt) const override { return run(rt, false); }
  com::Variant eval_as_statement(Runtime& rt) const override { return run(rt, true); }

 private:
  com::Variant run(Runtime& rt, bool as_statement) const;

  const Builtin* fn_;
  ExprList args_;
};

class NewNode final : public Expr {
 public:
  NewNode(std::int32_t l, std::int32_t c, std::int32_t link, std::u16string name)
      : Expr(l, c), link_(link), name_(std::move(name)) {}
  com::Variant eval(Runtime& rt) const override;

 private:
  std::int32_t link_;
  std::u16string name_;
};

class MeNode final : public Expr {
 public:
  using Expr::Expr;
  com::Variant eval(Runtime& rt) const override;
};

class NothingNode final : public Expr {
 public:
  using Expr::Expr;
  com::Variant eval(Runtime&) const override;
};

class ErrNode final : public Expr {
 public:
  using Expr::Expr;
  com::Variant eval(Runtime& rt) const override;
};

// (expr): a value even when expr is a variable, so ByRef gets a copy.
class ParenNode final : public Expr {
 public:
  ParenNode(std::int32_t l, std::int32_t c, ExprNode inner) : Expr(l, c), inner_(std::move(inner)) {}
  com::Variant eval(Runtime& rt) const override { return inner_->eval(rt); }

 private:
  ExprNode inner_;
};

}  // namespace tap::vbs
