#include "vbscript/compile/Compiler.h"

#include <cstdint>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "platform/com/case_fold.h"
#include "vbscript/ScriptError.h"
#include "vbscript/builtins/Builtin.h"
#include "vbscript/compile/constants.h"
#include "vbscript/parse/Parser.h"
#include "vbscript/vm/RunLimits.h"
#include "vbscript/vm/AppendNode.h"
#include "vbscript/vm/ExprNodes.h"
#include "vbscript/vm/InterpBuiltins.h"
#include "vbscript/vm/OpNodes.h"
#include "vbscript/vm/StmtNodes.h"

namespace tap::vbs {

std::u16string fold_name(std::u16string_view name) {
  std::u16string out(name);
  for (char16_t& c : out) c = com::lower_char(c);
  return out;
}

const ClassMember* ClassDef::find(std::u16string_view lower_name) const {
  auto it = by_name.find(std::u16string(lower_name));
  return it == by_name.end() ? nullptr : &members[static_cast<std::size_t>(it->second)];
}

namespace {

using com::Variant;

struct CompileFailure {
  std::int32_t error, line, column;
};

[[noreturn]] void fail(SyntaxError e, std::int32_t line, std::int32_t column) {
  throw CompileFailure{static_cast<std::int32_t>(e), line, column};
}

const Builtin* find_builtin(std::u16string_view lower_name) {
  static const std::unordered_map<std::u16string, const Builtin*> table = [] {
    std::unordered_map<std::u16string, const Builtin*> m;
    for (auto family : {conversion_builtins, string_builtins, byte_string_builtins, array_builtins,
                        inspection_builtins, math_builtins, datetime_builtins, format_builtins, locale_builtins})
      for (const Builtin& b : family()) m.emplace(fold_name(b.name), &b);
    return m;
  }();
  auto it = table.find(std::u16string(lower_name));
  return it == table.end() ? nullptr : it->second;
}

// A compile-time constant: a literal, possibly negated (class Const, Dim bounds).
bool literal_value(const ast::Expr& e, Variant* out) {
  if (e.kind == ast::ExprKind::literal) {
    *out = e.value;
    return true;
  }
  if (e.kind == ast::ExprKind::unary && e.op == ast::Op::neg && e.a->kind == ast::ExprKind::literal) {
    const Variant& v = e.a->value;
    // Hex and octal literals can be negative (&h8000 is the Integer
    // -32768), so negating the most negative value widens as the run-time
    // operator does: Integer to Long, Long to Double.
    if (v.vt() == com::VT_I2) {
      const std::int32_t n = -static_cast<std::int32_t>(v.i2());
      *out = n > INT16_MAX ? Variant(n) : Variant(static_cast<std::int16_t>(n));
    } else if (v.vt() == com::VT_I4) {
      const std::int64_t n = -static_cast<std::int64_t>(v.i4());
      *out = n > INT32_MAX ? Variant(static_cast<double>(n)) : Variant(static_cast<std::int32_t>(n));
    } else if (v.vt() == com::VT_R8) {
      *out = Variant(-v.r8());
    } else {
      return false;
    }
    return true;
  }
  return false;
}

struct Scope {
  Procedure* proc = nullptr;
  std::unordered_map<std::u16string, std::int32_t> locals;
  std::unordered_set<std::u16string> implicit;
  const ClassDef* cls = nullptr;
  std::u16string result_name;
  std::vector<std::int32_t> with_slots;
  int do_depth = 0, for_depth = 0;
  bool module_level = false;
  bool fixed_locals = false;  // Execute inside a procedure shares its frame
  std::int32_t next_slot = 0;

  std::int32_t add_local(const std::u16string& name, std::int32_t line, std::int32_t column) {
    if (fixed_locals) fail(SyntaxError::syn_syntax_error, line, column);
    std::int32_t slot = next_slot++;
    if (!name.empty()) locals.emplace(name, slot);
    return slot;
  }
};

template <typename T, typename... A>
std::unique_ptr<T> node(const auto& at, A&&... a) {
  return std::make_unique<T>(at.line, at.column, std::forward<A>(a)...);
}

class Compiler {
 public:
  explicit Compiler(CompiledModule& m) : m_(m) {}

  void module(const ast::Module& ast);
  void dynamic(const ast::Module* code, const ast::Expr* expression, const DynamicScope& scope);

 private:
  struct Pending {
    const ast::ProcDecl* decl;
    Procedure* proc;
    const ClassDef* cls;
  };

  std::int32_t link(const std::u16string& lower);
  void declare(const std::u16string& lower, GlobalDecl::Kind kind, const Procedure* proc, const ClassDef* cls,
               const ast::Stmt& at);
  void declare_procedures(const ast::Block& b);
  void declare_top_level(const ast::Module& ast);
  std::unique_ptr<Procedure> make_proc(const ast::ProcDecl& d, const ClassDef* owner);
  void declare_class(const ast::ClassDecl& c);
  void compile_proc(const Pending& p);
  void compile_main(const ast::Module& ast, Procedure& main, Scope& s);
  bool is_global_name(const std::u16string& n) const {
    return module_names_.count(n) != 0 || (dynamic_globals_ && dynamic_globals_(n));
  }

  // statements
  void block(const ast::Block& in, Block& out);
  void stmt(const ast::Stmt& s, Block& out);
  void dim(const ast::DimStmt& d, Block& out);
  // expressions
  ExprNode expr(const ast::Expr& e, bool calling = false);
  ExprList args(const std::vector<ast::ExprPtr>& in);
  ExprNode name(const ast::Expr& e, ExprList a, bool has_args);
  ExprNode object_of(const ast::Expr* e, bool* allow_private, const ast::Expr& at);
  NameRef local_ref(const std::u16string& n, std::int32_t slot);

  CompiledModule& m_;
  Scope* s_ = nullptr;
  std::unordered_map<std::u16string, std::int32_t> links_;
  std::unordered_set<std::u16string> module_names_;
  std::function<bool(std::u16string_view)> dynamic_globals_;
  std::vector<Pending> pending_;
};

// Calls `visit` on each block nested directly in a statement (loop bodies,
// If arms, Case bodies, With bodies), not looking into procedures.
template <typename Visit>
void for_each_nested_block(const ast::Stmt& st, Visit&& visit) {
  switch (st.kind) {
    case ast::StmtKind::for_next: visit(static_cast<const ast::ForStmt&>(st).body); break;
    case ast::StmtKind::for_each: visit(static_cast<const ast::ForEachStmt&>(st).body); break;
    case ast::StmtKind::if_: {
      auto& f = static_cast<const ast::IfStmt&>(st);
      for (const auto& arm : f.arms) visit(arm.second);
      visit(f.otherwise);
      break;
    }
    case ast::StmtKind::select:
      for (const auto& c : static_cast<const ast::SelectStmt&>(st).cases) visit(c.body);
      break;
    case ast::StmtKind::do_loop: visit(static_cast<const ast::DoStmt&>(st).body); break;
    case ast::StmtKind::with: visit(static_cast<const ast::WithStmt&>(st).body); break;
    default: break;
  }
}

// Names assigned by simple assignment, For, For Each or ReDim in a block,
// not looking into procedures: without Option Explicit they are declared
// by use.
void collect_assigned(const ast::Block& b, std::vector<std::u16string>& out) {
  for (const ast::StmtPtr& sp : b) {
    switch (sp->kind) {
      case ast::StmtKind::assign: {
        auto& a = static_cast<const ast::AssignStmt&>(*sp);
        if (a.target->kind == ast::ExprKind::ident) out.push_back(fold_name(a.target->name));
        break;
      }
      case ast::StmtKind::redim:
        for (const ast::VarDecl& v : static_cast<const ast::ReDimStmt&>(*sp).vars) out.push_back(fold_name(v.name));
        break;
      case ast::StmtKind::for_next: out.push_back(fold_name(static_cast<const ast::ForStmt&>(*sp).var->name)); break;
      case ast::StmtKind::for_each: out.push_back(fold_name(static_cast<const ast::ForEachStmt&>(*sp).var->name)); break;
      default: break;
    }
    for_each_nested_block(*sp, [&](const ast::Block& inner) { collect_assigned(inner, out); });
  }
}

// Names a procedure declares with Dim or Const anywhere in its body.
void collect_declared(const ast::Block& b, std::vector<std::u16string>& out) {
  for (const ast::StmtPtr& sp : b) {
    switch (sp->kind) {
      case ast::StmtKind::dim:
        for (const ast::VarDecl& v : static_cast<const ast::DimStmt&>(*sp).vars) out.push_back(fold_name(v.name));
        break;
      case ast::StmtKind::constant:
        for (const auto& item : static_cast<const ast::ConstStmt&>(*sp).items) out.push_back(fold_name(item.first.name));
        break;
      default: break;
    }
    for_each_nested_block(*sp, [&](const ast::Block& inner) { collect_declared(inner, out); });
  }
}

// "s = s & a & b": the operands after s, left to right; empty for any
// other assignment.
std::vector<const ast::Expr*> appended_parts(const ast::AssignStmt& a) {
  std::vector<const ast::Expr*> parts;
  if (a.is_set || a.target->kind != ast::ExprKind::ident) return parts;
  const ast::Expr* e = a.value.get();
  for (; e->kind == ast::ExprKind::binary && e->op == ast::Op::cat; e = e->a.get()) parts.push_back(e->b.get());
  if (e->kind != ast::ExprKind::ident || fold_name(e->name) != fold_name(a.target->name)) parts.clear();
  std::reverse(parts.begin(), parts.end());
  return parts;
}

std::int32_t Compiler::link(const std::u16string& lower) {
  auto it = links_.find(lower);
  if (it != links_.end()) return it->second;
  auto index = static_cast<std::int32_t>(m_.link_names.size());
  m_.link_names.push_back(lower);
  links_.emplace(lower, index);
  return index;
}

void Compiler::declare(const std::u16string& lower, GlobalDecl::Kind kind, const Procedure* proc, const ClassDef* cls,
                       const ast::Stmt& at) {
  bool fresh = module_names_.insert(lower).second;
  if (!fresh && kind != GlobalDecl::Kind::variable) {
    // A procedure defined again replaces the earlier one (the last wins
    // as the module links); a class name stays unique.
    for (const GlobalDecl& d : m_.decls)
      if (m_.link_names[static_cast<std::size_t>(d.link)] == lower && d.kind != GlobalDecl::Kind::variable &&
          (d.kind != kind || kind == GlobalDecl::Kind::class_def))
        fail(SyntaxError::syn_name_redefined, at.line, at.column);
  }
  GlobalDecl d;
  d.kind = kind;
  d.link = link(lower);
  d.proc = proc;
  d.cls = cls;
  m_.decls.push_back(d);
}

std::unique_ptr<Procedure> Compiler::make_proc(const ast::ProcDecl& d, const ClassDef* owner) {
  auto p = std::make_unique<Procedure>();
  p->name = d.name;
  p->kind = d.proc_kind;
  p->owner = owner;
  p->is_public = d.visibility != ast::Visibility::is_private;
  p->line = d.line;
  p->column = d.column;
  for (const ast::Param& prm : d.params) p->by_val.push_back(prm.by_val);
  return p;
}

void Compiler::declare_class(const ast::ClassDecl& c) {
  auto cd = std::make_unique<ClassDef>();
  cd->name = c.name;
  auto add = [&](const std::u16string& lower, ClassMember m, const ast::Stmt& at) {
    if (cd->by_name.count(lower)) fail(SyntaxError::syn_name_redefined, at.line, at.column);
    auto idx = static_cast<std::int32_t>(cd->members.size());
    cd->members.push_back(std::move(m));
    cd->by_name.emplace(lower, idx);
    return idx;
  };
  for (const auto& f : c.fields) {
    for (const ast::VarDecl& v : f->vars) {
      FieldInit fi;
      fi.is_array = v.is_array;
      for (const ast::ExprPtr& b : v.dims) {
        Variant bound;
        if (!literal_value(*b, &bound) || (bound.vt() != com::VT_I2 && bound.vt() != com::VT_I4))
          fail(SyntaxError::syn_expected_integer, b->line, b->column);
        std::int32_t ub = bound.vt() == com::VT_I2 ? bound.i2() : bound.i4();
        if (ub < 0 || ub > 1000000) fail(SyntaxError::syn_expected_integer, b->line, b->column);
        fi.dims.push_back(ub);
      }
      ClassMember m;
      m.name = v.name;
      m.kind = ClassMember::Kind::field;
      m.is_public = f->visibility != ast::Visibility::is_private;
      m.field = static_cast<std::int32_t>(cd->fields.size());
      cd->fields.push_back(std::move(fi));
      add(fold_name(v.name), std::move(m), *f);
    }
  }
  for (const auto& k : c.constants) {
    for (const auto& [v, value] : k->items) {
      FieldInit fi;
      if (!literal_value(*value, &fi.initial)) fail(SyntaxError::syn_expected_literal, value->line, value->column);
      ClassMember m;
      m.name = v.name;
      m.kind = ClassMember::Kind::field;
      m.is_public = k->visibility == ast::Visibility::is_public;
      m.field = static_cast<std::int32_t>(cd->fields.size());
      cd->fields.push_back(std::move(fi));
      add(fold_name(v.name), std::move(m), *k);
    }
  }
  for (const auto& d : c.procs) {
    std::unique_ptr<Procedure> p = make_proc(*d, cd.get());
    std::u16string lower = fold_name(d->name);
    if (lower == u"class_initialize" || lower == u"class_terminate") {
      if (!d->params.empty()) fail(SyntaxError::syn_init_term_args, d->line, d->column);
      (lower == u"class_initialize" ? cd->initialize : cd->terminate) = p.get();
    }
    std::int32_t idx;
    bool is_property = d->proc_kind != ast::ProcKind::sub && d->proc_kind != ast::ProcKind::function;
    auto it = cd->by_name.find(lower);
    if (is_property && it != cd->by_name.end() &&
        cd->members[static_cast<std::size_t>(it->second)].kind == ClassMember::Kind::property) {
      idx = it->second;
    } else {
      ClassMember m;
      m.name = d->name;
      m.kind = is_property ? ClassMember::Kind::property : ClassMember::Kind::method;
      m.is_public = false;
      idx = add(lower, std::move(m), *d);
    }
    ClassMember& m = cd->members[static_cast<std::size_t>(idx)];
    m.is_public = m.is_public || p->is_public;
    const Procedure** part = nullptr;
    switch (d->proc_kind) {
      case ast::ProcKind::sub: case ast::ProcKind::function: m.method = p.get(); break;
      case ast::ProcKind::property_get: part = &m.get; break;
      case ast::ProcKind::property_let: part = &m.let; break;
      case ast::ProcKind::property_set: part = &m.set; break;
    }
    if (part) {
      if (*part) fail(SyntaxError::syn_name_redefined, d->line, d->column);
      *part = p.get();
    }
    if (d->is_default) {
      if (cd->default_member >= 0 && cd->default_member != idx)
        fail(SyntaxError::syn_multiple_default, d->line, d->column);
      cd->default_member = idx;
    }
    pending_.push_back({d.get(), p.get(), cd.get()});
    cd->procs.push_back(std::move(p));
  }
  declare(fold_name(c.name), GlobalDecl::Kind::class_def, nullptr, cd.get(), c);
  m_.classes.push_back(std::move(cd));
}

// Procedures and classes are defined before any code runs, also those
// written inside a block ("If False Then Sub S ... End Sub End If").
void Compiler::declare_procedures(const ast::Block& b) {
  for (const ast::StmtPtr& sp : b) {
    switch (sp->kind) {
      case ast::StmtKind::procedure: {
        auto& d = static_cast<const ast::ProcDecl&>(*sp);
        std::unique_ptr<Procedure> p = make_proc(d, nullptr);
        declare(fold_name(d.name), GlobalDecl::Kind::procedure, p.get(), nullptr, d);
        pending_.push_back({&d, p.get(), nullptr});
        m_.procs.push_back(std::move(p));
        break;
      }
      case ast::StmtKind::class_decl: declare_class(static_cast<const ast::ClassDecl&>(*sp)); break;
      default: for_each_nested_block(*sp, [&](const ast::Block& inner) { declare_procedures(inner); }); break;
    }
  }
}

void Compiler::declare_top_level(const ast::Module& ast) {
  declare_procedures(ast.body);
  std::vector<std::u16string> declared;
  collect_declared(ast.body, declared);
  for (const std::u16string& n : declared)
    if (module_names_.insert(n).second) {
      GlobalDecl d;
      d.link = link(n);
      m_.decls.push_back(d);
    }
  if (!ast.option_explicit) {
    std::vector<std::u16string> assigned;
    collect_assigned(ast.body, assigned);
    for (const std::u16string& n : assigned)
      if (!module_names_.count(n)) {
        module_names_.insert(n);
        GlobalDecl d;
        d.link = link(n);
        m_.decls.push_back(d);
      }
  }
}

void Compiler::module(const ast::Module& ast) {
  m_.option_explicit = ast.option_explicit;
  m_.main = std::make_unique<Procedure>();
  m_.main->is_main = true;
  declare_top_level(ast);
  for (const Pending& p : pending_) compile_proc(p);
  Scope s;
  s.module_level = true;
  compile_main(ast, *m_.main, s);
}

void Compiler::compile_main(const ast::Module& ast, Procedure& main, Scope& s) {
  s.proc = &main;
  s_ = &s;
  for (const ast::StmtPtr& sp : ast.body) {
    if (sp->kind == ast::StmtKind::procedure || sp->kind == ast::StmtKind::class_decl) continue;
    stmt(*sp, main.body);
  }
  main.local_count = s.next_slot;
  s_ = nullptr;
}

void Compiler::compile_proc(const Pending& pd) {
  const ast::ProcDecl& d = *pd.decl;
  Procedure& p = *pd.proc;
  Scope s;
  s.proc = &p;
  s.cls = pd.cls;
  for (const ast::Param& prm : d.params) {
    std::u16string n = fold_name(prm.name);
    if (s.locals.count(n)) fail(SyntaxError::syn_name_redefined, d.line, d.column);
    s.add_local(n, d.line, d.column);
  }
  if (d.proc_kind == ast::ProcKind::function || d.proc_kind == ast::ProcKind::property_get) {
    s.result_name = fold_name(d.name);
    auto it = s.locals.find(s.result_name);
    p.result_slot = it != s.locals.end() ? it->second : s.add_local(s.result_name, d.line, d.column);
  }
  std::vector<std::u16string> names;
  collect_declared(d.body, names);
  for (const std::u16string& n : names)
    if (!s.locals.count(n)) s.add_local(n, d.line, d.column);
  if (!m_.option_explicit) {
    names.clear();
    collect_assigned(d.body, names);
    for (const std::u16string& n : names) {
      if (s.locals.count(n) || (s.cls && s.cls->find(n)) || module_names_.count(n)) continue;
      s.add_local(n, d.line, d.column);
      s.implicit.insert(n);
    }
  }
  s_ = &s;
  block(d.body, p.body);
  s_ = nullptr;
  p.local_count = s.next_slot;
  p.local_names.assign(static_cast<std::size_t>(s.next_slot), std::u16string());
  for (const auto& [n, slot] : s.locals) p.local_names[static_cast<std::size_t>(slot)] = n;
}

void Compiler::dynamic(const ast::Module* code, const ast::Expr* expression, const DynamicScope& scope) {
  dynamic_globals_ = scope.is_global;
  m_.main = std::make_unique<Procedure>();
  m_.main->is_main = true;
  Scope s;
  if (scope.proc && !scope.proc->is_main) {
    const Procedure& p = *scope.proc;
    s.cls = p.owner;
    for (std::size_t i = 0; i < p.local_names.size(); ++i)
      if (!p.local_names[i].empty()) s.locals.emplace(p.local_names[i], static_cast<std::int32_t>(i));
    if (p.result_slot >= 0) s.result_name = fold_name(p.name);
    s.next_slot = p.local_count;
    s.fixed_locals = true;
  } else {
    s.module_level = true;
  }
  if (code) {
    declare_top_level(*code);
    for (const Pending& pd : pending_) compile_proc(pd);
    compile_main(*code, *m_.main, s);
  } else {
    s.proc = m_.main.get();
    s_ = &s;
    m_.expression = expr(*expression);
    m_.main->local_count = s.next_slot;
    s_ = nullptr;
  }
}

void Compiler::block(const ast::Block& in, Block& out) {
  for (const ast::StmtPtr& sp : in) stmt(*sp, out);
}

NameRef Compiler::local_ref(const std::u16string& n, std::int32_t slot) {
  NameRef r;
  r.local = slot;
  r.option_explicit = m_.option_explicit;
  if (s_->implicit.count(n)) {
    r.kind = NameRef::Kind::implicit;
    r.link = link(n);
  }
  return r;
}

void Compiler::dim(const ast::DimStmt& d, Block& out) {
  for (const ast::VarDecl& v : d.vars) {
    if (!v.is_array) continue;
    ast::Expr id;
    id.kind = ast::ExprKind::ident;
    id.line = v.line;
    id.column = v.column;
    id.name = v.name;
    ExprList bounds;
    for (const ast::ExprPtr& b : v.dims) bounds.push_back(expr(*b));
    out.stmts.push_back(node<DimArrayNode>(v, expr(id), std::move(bounds), false, false));
  }
}

void Compiler::stmt(const ast::Stmt& s, Block& out) {
  // Execute and Eval compile while a run's clock runs.
  RunLimits::poll(1);
  using K = ast::StmtKind;
  switch (s.kind) {
    case K::assign: {
      auto& a = static_cast<const ast::AssignStmt&>(s);
      ExprNode target = expr(*a.target);
      std::vector<const ast::Expr*> parts = appended_parts(a);
      if (!parts.empty() && dynamic_cast<VarNode*>(target.get())) {
        ExprList compiled;
        for (const ast::Expr* p : parts) compiled.push_back(expr(*p));
        std::unique_ptr<VarNode> var(static_cast<VarNode*>(target.release()));
        out.stmts.push_back(node<AppendNode>(s, std::move(var), std::move(compiled)));
        return;
      }
      out.stmts.push_back(node<AssignNode>(s, std::move(target), expr(*a.value), a.is_set));
      return;
    }
    case K::call: {
      auto& c = static_cast<const ast::CallStmt&>(s);
      out.stmts.push_back(node<CallNode>(s, expr(*c.call, true)));
      return;
    }
    case K::dim: dim(static_cast<const ast::DimStmt&>(s), out); return;
    case K::redim: {
      auto& r = static_cast<const ast::ReDimStmt&>(s);
      for (const ast::VarDecl& v : r.vars) {
        ast::Expr id;
        id.kind = ast::ExprKind::ident;
        id.line = v.line;
        id.column = v.column;
        id.name = v.name;
        ExprList bounds;
        for (const ast::ExprPtr& b : v.dims) bounds.push_back(expr(*b));
        out.stmts.push_back(node<DimArrayNode>(s, expr(id), std::move(bounds), true, r.preserve));
      }
      return;
    }
    case K::constant: {
      auto& c = static_cast<const ast::ConstStmt&>(s);
      for (const auto& [v, value] : c.items) {
        ast::Expr id;
        id.kind = ast::ExprKind::ident;
        id.line = v.line;
        id.column = v.column;
        id.name = v.name;
        std::int32_t lnk = s_->module_level ? link(fold_name(v.name)) : -1;
        out.stmts.push_back(node<ConstNode>(s, expr(id), expr(*value), lnk));
      }
      return;
    }
    case K::erase:
      for (const ast::ExprPtr& t : static_cast<const ast::EraseStmt&>(s).targets)
        out.stmts.push_back(node<EraseNode>(s, expr(*t)));
      return;
    case K::if_: {
      auto& f = static_cast<const ast::IfStmt&>(s);
      auto n = node<IfNode>(s);
      for (const auto& [cond, body] : f.arms) {
        Block b;
        block(body, b);
        n->arms.emplace_back(expr(*cond), std::move(b));
      }
      block(f.otherwise, n->otherwise);
      out.stmts.push_back(std::move(n));
      return;
    }
    case K::select: {
      auto& sel = static_cast<const ast::SelectStmt&>(s);
      auto n = node<SelectNode>(s, expr(*sel.subject));
      for (const auto& c : sel.cases) {
        SelectNode::Case nc;
        for (const ast::ExprPtr& v : c.values) nc.values.push_back(expr(*v));
        block(c.body, nc.body);
        n->cases.push_back(std::move(nc));
      }
      out.stmts.push_back(std::move(n));
      return;
    }
    case K::for_next: {
      auto& f = static_cast<const ast::ForStmt&>(s);
      auto n = node<ForNode>(s, expr(*f.var), expr(*f.from), expr(*f.to), f.step ? expr(*f.step) : nullptr);
      ++s_->for_depth;
      block(f.body, n->body);
      --s_->for_depth;
      out.stmts.push_back(std::move(n));
      return;
    }
    case K::for_each: {
      auto& f = static_cast<const ast::ForEachStmt&>(s);
      auto n = node<ForEachNode>(s, expr(*f.var), expr(*f.collection));
      ++s_->for_depth;
      block(f.body, n->body);
      --s_->for_depth;
      out.stmts.push_back(std::move(n));
      return;
    }
    case K::do_loop: {
      auto& d = static_cast<const ast::DoStmt&>(s);
      auto n = node<DoNode>(s, d.cond ? expr(*d.cond) : nullptr, d.until, d.test_at_end);
      ++s_->do_depth;
      block(d.body, n->body);
      --s_->do_depth;
      out.stmts.push_back(std::move(n));
      return;
    }
    case K::with: {
      auto& w = static_cast<const ast::WithStmt&>(s);
      std::int32_t slot = s_->add_local({}, s.line, s.column);
      auto n = node<WithNode>(s, slot, expr(*w.object));
      s_->with_slots.push_back(slot);
      block(w.body, n->body);
      s_->with_slots.pop_back();
      out.stmts.push_back(std::move(n));
      return;
    }
    case K::exit: {
      auto& e = static_cast<const ast::ExitStmt&>(s);
      Flow flow = Flow::exit_proc;
      bool ok = false;
      ast::ProcKind k = s_->proc->kind;
      bool in_proc = !s_->proc->is_main;
      switch (e.what) {
        case ast::ExitKind::do_loop: ok = s_->do_depth > 0; flow = Flow::exit_do; break;
        case ast::ExitKind::for_loop: ok = s_->for_depth > 0; flow = Flow::exit_for; break;
        case ast::ExitKind::sub: ok = in_proc && k == ast::ProcKind::sub; break;
        case ast::ExitKind::function: ok = in_proc && k == ast::ProcKind::function; break;
        case ast::ExitKind::property:
          ok = in_proc && k != ast::ProcKind::sub && k != ast::ProcKind::function;
          break;
      }
      if (!ok) fail(SyntaxError::syn_invalid_exit, s.line, s.column);
      out.stmts.push_back(node<ExitNode>(s, flow));
      return;
    }
    case K::on_error:
      out.stmts.push_back(node<OnErrorNode>(s, static_cast<const ast::OnErrorStmt&>(s).resume_next));
      return;
    case K::option_explicit:
    case K::stop:
    case K::procedure:   // defined before the code ran
    case K::class_decl: return;
  }
}

ExprList Compiler::args(const std::vector<ast::ExprPtr>& in) {
  ExprList out;
  out.reserve(in.size());
  for (const ast::ExprPtr& a : in) out.push_back(a ? expr(*a) : nullptr);
  return out;
}

ExprNode Compiler::object_of(const ast::Expr* e, bool* allow_private, const ast::Expr& at) {
  *allow_private = false;
  if (!e) {
    if (s_->with_slots.empty()) return node<UnqualifiedNode>(at);
    NameRef r;
    r.local = s_->with_slots.back();
    return node<VarNode>(at, r);
  }
  if (e->kind == ast::ExprKind::me) *allow_private = true;
  return expr(*e);
}

ExprNode Compiler::name(const ast::Expr& e, ExprList a, bool has_args) {
  std::u16string n = fold_name(e.name);
  auto var = [&](NameRef r) -> ExprNode {
    if (has_args) return node<VarCallNode>(e, r, std::move(a));
    return node<VarNode>(e, r);
  };
  auto it = s_->locals.find(n);
  // Inside Function f, "f" is the result and "f(...)" a recursive call.
  if (it != s_->locals.end() && !(has_args && n == s_->result_name)) return var(local_ref(n, it->second));
  if (s_->cls) {
    if (const ClassMember* m = s_->cls->find(n)) {
      if (m->kind == ClassMember::Kind::field) {
        NameRef r;
        r.kind = NameRef::Kind::field;
        r.local = m->field;
        return var(r);
      }
      return node<MeCallNode>(e, static_cast<std::int32_t>(m - s_->cls->members.data()), std::move(a));
    }
  }
  NameRef g;
  g.kind = NameRef::Kind::global;
  g.option_explicit = m_.option_explicit;
  if (is_global_name(n)) {
    g.link = link(n);
    return var(g);
  }
  if (n == u"err") {
    ExprNode err = node<ErrNode>(e);
    if (has_args) return node<IndexNode>(e, std::move(err), std::move(a));
    return err;
  }
  InterpBuiltin ib;
  if (find_interp_builtin(n, &ib)) return node<InterpBuiltinNode>(e, ib, std::move(a));
  if (const Variant* c = find_constant(n)) {
    ExprNode lit = node<Literal>(e, *c);
    if (has_args) return node<IndexNode>(e, std::move(lit), std::move(a));
    return lit;
  }
  if (const Builtin* b = find_builtin(n)) return node<BuiltinNode>(e, b, std::move(a));
  g.link = link(n);
  return var(g);
}

ExprNode Compiler::expr(const ast::Expr& e, bool calling) {
  using K = ast::ExprKind;
  switch (e.kind) {
    case K::literal: return node<Literal>(e, e.value);
    case K::ident: return name(e, {}, calling && !s_->result_name.empty() && fold_name(e.name) == s_->result_name);
    case K::member: {
      bool priv;
      ExprNode obj = object_of(e.a.get(), &priv, e);
      return node<MemberNode>(e, std::move(obj), e.name, ExprList{}, priv);
    }
    case K::call: {
      ExprList a = args(e.args);
      const ast::Expr& callee = *e.a;
      if (callee.kind == K::ident) return name(callee, std::move(a), true);
      if (callee.kind == K::member) {
        bool priv;
        ExprNode obj = object_of(callee.a.get(), &priv, callee);
        return node<MemberNode>(callee, std::move(obj), callee.name, std::move(a), priv);
      }
      return node<IndexNode>(e, expr(callee), std::move(a));
    }
    case K::new_object: return node<NewNode>(e, link(fold_name(e.name)), e.name);
    case K::unary: {
      Variant folded;
      if (e.op == ast::Op::neg && literal_value(e, &folded)) return node<Literal>(e, folded);
      return node<UnaryNode>(e, e.op, expr(*e.a));
    }
    case K::binary: return node<BinaryNode>(e, e.op, expr(*e.a), expr(*e.b));
    case K::paren: return node<ParenNode>(e, expr(*e.a));
    case K::me:
      if (!s_->cls) fail(SyntaxError::syn_invalid_me, e.line, e.column);
      return node<MeNode>(e);
    case K::nothing: return node<NothingNode>(e);
  }
  fail(SyntaxError::syn_syntax_error, e.line, e.column);
}

CompileResult failure(std::int32_t error, std::int32_t line, std::int32_t column) {
  CompileResult r;
  r.error = error;
  r.line = line;
  r.column = column;
  return r;
}

}  // namespace

CompileResult compile_module(std::u16string_view source) {
  ParseResult parsed = parse_module(source);
  if (!parsed) return failure(parsed.error, parsed.line, parsed.column);
  auto module = std::make_shared<CompiledModule>();
  try {
    Compiler(*module).module(*parsed.module);
  } catch (const CompileFailure& f) {
    return failure(f.error, f.line, f.column);
  }
  CompileResult r;
  r.module = std::move(module);
  return r;
}

CompileResult compile_dynamic(std::u16string_view source, const DynamicScope& scope, bool expression) {
  ParseResult parsed = expression ? parse_expression(source) : parse_module(source);
  if (!parsed) return failure(parsed.error, parsed.line, parsed.column);
  auto module = std::make_shared<CompiledModule>();
  try {
    Compiler(*module).dynamic(parsed.module.get(), parsed.expression.get(), scope);
  } catch (const CompileFailure& f) {
    return failure(f.error, f.line, f.column);
  }
  CompileResult r;
  r.module = std::move(module);
  return r;
}

}  // namespace tap::vbs
