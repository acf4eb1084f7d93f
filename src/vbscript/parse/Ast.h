#pragma once
// The syntax tree the parser builds and the compiler consumes. Plain data:
// names keep their source spelling; nothing is resolved yet.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/Variant.h"

namespace tap::vbs::ast {

enum class ExprKind : std::uint8_t {
  literal,   // value
  ident,     // name
  member,    // a.name; a null: ".name" inside With
  call,      // a(args...): call or index; an omitted argument is null
  new_object,  // New name
  unary,     // op a
  binary,    // a op b
  paren,     // (a): a value, never a reference
  me,
  nothing,
};

enum class Op : std::uint8_t {
  add, sub, mul, div, idiv, mod, pow, cat,
  eq, ne, lt, gt, le, ge, is,
  and_, or_, xor_, eqv, imp,
  neg, not_,
};

struct Expr {
  ExprKind kind;
  std::int32_t line = 0, column = 0;
  std::int32_t height = 1;  // of the subtree; bounded so walking it cannot overflow the stack
  Op op = Op::add;
  std::u16string name;
  com::Variant value;
  std::unique_ptr<Expr> a, b;
  std::vector<std::unique_ptr<Expr>> args;
};
using ExprPtr = std::unique_ptr<Expr>;

enum class StmtKind : std::uint8_t {
  assign, call, dim, redim, constant, erase, if_, select, for_next, for_each,
  do_loop, with, exit, on_error, option_explicit, procedure, class_decl, stop,
};

struct Stmt {
  explicit Stmt(StmtKind k) : kind(k) {}
  virtual ~Stmt() = default;
  StmtKind kind;
  std::int32_t line = 0, column = 0;
};
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

struct AssignStmt : Stmt {
  AssignStmt() : Stmt(StmtKind::assign) {}
  ExprPtr target, value;
  bool is_set = false;
};

// A call statement: "f a, b", "Call f(a, b)", "obj.m a".
struct CallStmt : Stmt {
  CallStmt() : Stmt(StmtKind::call) {}
  ExprPtr call;  // an ident/member (no arguments) or a call expression
};

struct VarDecl {
  std::u16string name;
  std::int32_t line = 0, column = 0;
  bool is_array = false;             // "a()" or "a(3)"
  std::vector<ExprPtr> dims;         // upper bounds; empty for "a()"
};

enum class Visibility : std::uint8_t { dim, is_public, is_private };

struct DimStmt : Stmt {
  DimStmt() : Stmt(StmtKind::dim) {}
  Visibility visibility = Visibility::dim;
  std::vector<VarDecl> vars;
};

struct ReDimStmt : Stmt {
  ReDimStmt() : Stmt(StmtKind::redim) {}
  bool preserve = false;
  std::vector<VarDecl> vars;
};

struct ConstStmt : Stmt {
  ConstStmt() : Stmt(StmtKind::constant) {}
  Visibility visibility = Visibility::dim;
  std::vector<std::pair<VarDecl, ExprPtr>> items;
};

struct EraseStmt : Stmt {
  EraseStmt() : Stmt(StmtKind::erase) {}
  std::vector<ExprPtr> targets;
};

struct IfStmt : Stmt {
  IfStmt() : Stmt(StmtKind::if_) {}
  std::vector<std::pair<ExprPtr, Block>> arms;
  Block otherwise;
};

struct SelectStmt : Stmt {
  SelectStmt() : Stmt(StmtKind::select) {}
  ExprPtr subject;
  struct Case {
    std::vector<ExprPtr> values;  // empty: Case Else
    Block body;
  };
  std::vector<Case> cases;
};

struct ForStmt : Stmt {
  ForStmt() : Stmt(StmtKind::for_next) {}
  ExprPtr var, from, to, step;
  Block body;
};

struct ForEachStmt : Stmt {
  ForEachStmt() : Stmt(StmtKind::for_each) {}
  ExprPtr var, collection;
  Block body;
};

// Do [While|Until c] ... Loop [While|Until c]; While c ... Wend.
struct DoStmt : Stmt {
  DoStmt() : Stmt(StmtKind::do_loop) {}
  ExprPtr cond;  // null: no condition
  bool until = false;
  bool test_at_end = false;
  Block body;
};

struct WithStmt : Stmt {
  WithStmt() : Stmt(StmtKind::with) {}
  ExprPtr object;
  Block body;
};

enum class ExitKind : std::uint8_t { do_loop, for_loop, function, sub, property };

struct ExitStmt : Stmt {
  ExitStmt() : Stmt(StmtKind::exit) {}
  ExitKind what = ExitKind::sub;
};

struct OnErrorStmt : Stmt {
  OnErrorStmt() : Stmt(StmtKind::on_error) {}
  bool resume_next = false;
};

struct OptionExplicitStmt : Stmt {
  OptionExplicitStmt() : Stmt(StmtKind::option_explicit) {}
};

// Stop: a breakpoint for a debugger; without one it does nothing.
struct StopStmt : Stmt {
  StopStmt() : Stmt(StmtKind::stop) {}
};

enum class ProcKind : std::uint8_t { sub, function, property_get, property_let, property_set };

struct Param {
  std::u16string name;
  bool by_val = false;
  bool is_array = false;
};

struct ProcDecl : Stmt {
  ProcDecl() : Stmt(StmtKind::procedure) {}
  ProcKind proc_kind = ProcKind::sub;
  std::u16string name;
  Visibility visibility = Visibility::dim;
  bool is_default = false;
  std::vector<Param> params;
  Block body;
};

struct ClassDecl : Stmt {
  ClassDecl() : Stmt(StmtKind::class_decl) {}
  std::u16string name;
  std::vector<std::unique_ptr<DimStmt>> fields;
  std::vector<std::unique_ptr<ConstStmt>> constants;
  std::vector<std::unique_ptr<ProcDecl>> procs;
};

struct Module {
  bool option_explicit = false;
  Block body;  // top-level statements, procedures and classes in source order
};

}  // namespace tap::vbs::ast
