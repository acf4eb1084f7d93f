#pragma once
// The compiled form is a closure tree: every node knows how to run itself
// (Expr::eval, Stmt::exec) with its names already resolved to a local slot,
// a field of Me, a global link or a built-in. The tree walk is fast enough
// for our scripts (tens of millions of simple loop iterations per second)
// and keeps run-time errors attached to statements for line numbers.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/com/SafeArray.h"
#include "platform/com/Variant.h"

namespace tap::vbs {

class Runtime;

// Keeps an array locked while a reference into it is alive (an element
// passed ByRef), so ReDim and Erase cannot move the element meanwhile.
class ArrayLock {
 public:
  ArrayLock() = default;
  ArrayLock(const ArrayLock&) = delete;
  ArrayLock& operator=(const ArrayLock&) = delete;
  ~ArrayLock() { if (array_) array_->unlock(); }
  void hold(std::shared_ptr<com::SafeArray> a) {
    if (array_) array_->unlock();
    array_ = std::move(a);
    if (array_) array_->lock();
  }

 private:
  std::shared_ptr<com::SafeArray> array_;
};

class Expr {
 public:
  Expr(std::int32_t line, std::int32_t column) : line(line), column(column) {}
  virtual ~Expr() = default;
  Expr(const Expr&) = delete;
  Expr& operator=(const Expr&) = delete;

  virtual com::Variant eval(Runtime& rt) const = 0;
  // The call as a statement of its own ("Call f(x)", "f x"); its value is
  // dropped.
  virtual com::Variant eval_as_statement(Runtime& rt) const { return eval(rt); }
  // The value without copying it, for plain variables and literals whose
  // reading has no side effects; null for everything else.
  virtual const com::Variant* peek(Runtime&) const { return nullptr; }
  // The storage behind a variable or array element, for ByRef arguments
  // and For loops; null for values that have none.
  virtual com::Variant* address(Runtime&, ArrayLock&) const { return nullptr; }
  // Assignment ("x = v" or "Set x = v"); v is already checked for Set.
  virtual void assign(Runtime& rt, com::Variant v, bool is_set) const;

  std::int32_t line, column;
};
using ExprNode = std::unique_ptr<Expr>;
using ExprList = std::vector<ExprNode>;  // a null entry is an omitted argument

enum class Flow : std::uint8_t { normal, exit_do, exit_for, exit_proc };

class Stmt {
 public:
  Stmt(std::int32_t line, std::int32_t column) : line(line), column(column) {}
  virtual ~Stmt() = default;
  Stmt(const Stmt&) = delete;
  Stmt& operator=(const Stmt&) = delete;

  virtual Flow exec(Runtime& rt) const = 0;

  std::int32_t line, column;
};
using StmtNode = std::unique_ptr<Stmt>;

// A statement list; runs On Error Resume Next and stamps errors with the
// position of the statement that raised them.
class Block {
 public:
  std::vector<StmtNode> stmts;
  Flow run(Runtime& rt) const;
};

}  // namespace tap::vbs
