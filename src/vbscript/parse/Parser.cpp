// Statements. A statement ends at a newline, ':' or the end of the text (or
// at Else inside a single-line If).
#include "vbscript/parse/Parser.h"

#include "vbscript/parse/ParserState.h"
#include "vbscript/vm/RunLimits.h"

namespace tap::vbs {

using namespace ast;

namespace {

template <typename T>
std::unique_ptr<T> stmt_at(const Token& t) {
  auto s = std::make_unique<T>();
  s->line = t.line;
  s->column = t.column;
  return s;
}

bool is_separator(Tok k) { return k == Tok::newline || k == Tok::colon; }

}  // namespace

// module := {statement}
void ParserState::parse_module_body(Module& m) {
  while (true) {
    while (is_separator(kind())) next();
    if (at(Tok::eof)) return;
    RunLimits::poll(1);
    StmtPtr s = statement();
    if (s->kind == StmtKind::option_explicit) m.option_explicit = true;
    m.body.push_back(std::move(s));
  }
}

ExprPtr ParserState::parse_expression_only() {
  ExprPtr e = expr();
  if (!at(Tok::eof)) fail(SyntaxError::syn_expected_end_of_statement);
  return e;
}

bool ParserState::at_block_end() const {
  switch (kind()) {
    case Tok::eof: case Tok::kw_end: case Tok::kw_else: case Tok::kw_elseif: case Tok::kw_case:
    case Tok::kw_loop: case Tok::kw_next: case Tok::kw_wend:
      return true;
    default: return false;
  }
}

// block := {statement} up to a closing keyword, which the caller checks.
Block ParserState::block() {
  DepthGuard guard(*this);
  Block b;
  while (true) {
    while (is_separator(kind())) next();
    if (at_block_end()) return b;
    RunLimits::poll(1);
    b.push_back(statement());
  }
}

void ParserState::end_of_statement() {
  if (!at_end_of_statement()) fail(SyntaxError::syn_expected_end_of_statement);
}

StmtPtr ParserState::statement() {
  DepthGuard guard(*this);
  StmtPtr s = statement_inner();
  end_of_statement();
  return s;
}

StmtPtr ParserState::statement_inner() {
  switch (kind()) {
    case Tok::kw_dim: next(); return dim_statement(Visibility::dim);
    case Tok::kw_redim: return redim_statement();
    case Tok::kw_const: next(); return const_statement(Visibility::dim);
    case Tok::kw_public: case Tok::kw_private: return declaration_with_visibility();
    case Tok::kw_if: return if_statement();
    case Tok::kw_select: return select_statement();
    case Tok::kw_for: return for_statement();
    case Tok::kw_do: return do_statement();
    case Tok::kw_while: return while_statement();
    case Tok::kw_with: return with_statement();
    case Tok::kw_exit: return exit_statement();
    case Tok::kw_on: return on_error_statement();
    case Tok::kw_option: {
      const Token& t = next();
      expect_word("explicit", SyntaxError::syn_syntax_error);
      return stmt_at<OptionExplicitStmt>(t);
    }
    case Tok::kw_set: return set_statement();
    case Tok::kw_call: return call_statement();
    case Tok::kw_erase: return erase_statement();
    case Tok::kw_sub: case Tok::kw_function: return procedure(Visibility::dim, false);
    case Tok::kw_class: return class_declaration();
    case Tok::identifier:
      if (at_word("property") && peek(1).kind == Tok::identifier &&
          (word_is(peek(1).text, "get") || word_is(peek(1).text, "let")))
        return procedure(Visibility::dim, false);
      if (at_word("property") && peek(1).kind == Tok::kw_set) return procedure(Visibility::dim, false);
      if (at_word("stop") && ends_statement(1)) return stmt_at<StopStmt>(next());
      return identifier_statement();
    case Tok::kw_me: case Tok::dot: case Tok::lparen: return identifier_statement();
    case Tok::kw_loop: fail(SyntaxError::syn_loop_without_do);
    case Tok::kw_next: fail(SyntaxError::syn_unexpected_next);
    default: fail(SyntaxError::syn_expected_statement);
  }
}

// assignment := target "=" expr
// call       := target [arg {"," arg}]   (no parentheses around the list)
StmtPtr ParserState::identifier_statement() {
  const Token& start = peek();
  ExprPtr target = postfix_chain(true);
  if (accept(Tok::eq)) {
    auto s = stmt_at<AssignStmt>(start);
    s->target = std::move(target);
    s->value = expr();
    return s;
  }
  auto s = stmt_at<CallStmt>(start);
  if (at_end_of_statement()) {
    // "f(a, b)" as a statement is refused; only Call takes a list in parentheses.
    if (target->kind == ExprKind::call && target->args.size() > 1)
      fail(static_cast<std::int32_t>(SyntaxError::syn_parens_in_sub_call), start);
    // "f(x)" as a statement passes x by value, as "f (x)" does.
    if (target->kind == ExprKind::call && target->args.size() == 1 && target->args[0] &&
        target->args[0]->kind != ExprKind::paren) {
      auto p = make(ExprKind::paren, start);
      p->line = target->args[0]->line;
      p->column = target->args[0]->column;
      p->a = std::move(target->args[0]);
      target->args[0] = std::move(p);
    }
    s->call = std::move(target);
    return s;
  }
  if (target->kind == ExprKind::call && target->a->kind != ExprKind::call) {
    // "f (a) + 1, b": the parenthesis began the first argument; parse again.
    pos_ = static_cast<std::size_t>(&start - t_.data());
    ExprPtr head;
    if (at(Tok::dot)) {
      const Token& t = next();
      head = make(ExprKind::member, t);
      head->name = member_name();
    } else {
      head = make(ExprKind::ident, peek());
      head->name = identifier();
    }
    while (at(Tok::dot) && !peek().space_before) {
      const Token& t = next();
      auto m = make(ExprKind::member, t);
      m->a = std::move(head);
      m->name = member_name();
      head = std::move(m);
    }
    if (!at(Tok::lparen)) fail(SyntaxError::syn_expected_end_of_statement);
    target = std::move(head);
  }
  auto call = make(ExprKind::call, start);
  call->a = std::move(target);
  while (true) {
    if (at(Tok::comma)) call->args.push_back(nullptr);
    else call->args.push_back(expr());
    if (!accept(Tok::comma)) break;
    if (at_end_of_statement()) call->args.push_back(nullptr);
  }
  s->call = std::move(call);
  return s;
}

// set := Set target "=" expr
StmtPtr ParserState::set_statement() {
  const Token& t = next();
  auto s = stmt_at<AssignStmt>(t);
  s->is_set = true;
  s->target = postfix_chain(true);
  expect(Tok::eq, SyntaxError::syn_expected_eq);
  s->value = expr();
  return s;
}

// call := Call target
StmtPtr ParserState::call_statement() {
  const Token& t = next();
  auto s = stmt_at<CallStmt>(t);
  s->call = postfix_chain(true);
  return s;
}

// var := name ["(" [bound {"," bound}] ")"]
VarDecl ParserState::var_decl(bool allow_bounds) {
  VarDecl d;
  d.line = peek().line;
  d.column = peek().column;
  d.name = identifier();
  if (accept(Tok::lparen)) {
    d.is_array = true;
    if (!accept(Tok::rparen)) {
      do {
        if (!allow_bounds && !at(Tok::integer)) fail(SyntaxError::syn_expected_integer);
        d.dims.push_back(expr());
      } while (accept(Tok::comma));
      expect(Tok::rparen, SyntaxError::syn_expected_rparen);
    }
  }
  return d;
}

// dim := (Dim | Public | Private) var {"," var}
StmtPtr ParserState::dim_statement(Visibility v) {
  auto s = stmt_at<DimStmt>(peek());
  s->visibility = v;
  do s->vars.push_back(var_decl(false));
  while (accept(Tok::comma));
  return s;
}

// redim := ReDim [Preserve] var {"," var}
StmtPtr ParserState::redim_statement() {
  const Token& t = next();
  auto s = stmt_at<ReDimStmt>(t);
  if (at_word("preserve")) {
    next();
    s->preserve = true;
  }
  do {
    VarDecl d = var_decl(true);
    if (!d.is_array || d.dims.empty()) fail(SyntaxError::syn_expected_lparen);
    s->vars.push_back(std::move(d));
  } while (accept(Tok::comma));
  return s;
}

// const := Const name "=" expr {"," name "=" expr}
StmtPtr ParserState::const_statement(Visibility v) {
  auto s = stmt_at<ConstStmt>(peek());
  s->visibility = v;
  do {
    VarDecl d;
    d.line = peek().line;
    d.column = peek().column;
    d.name = identifier();
    expect(Tok::eq, SyntaxError::syn_expected_eq);
    s->items.emplace_back(std::move(d), expr());
  } while (accept(Tok::comma));
  return s;
}

// (Public | Private) [Default] (procedure | Const ... | var {"," var})
StmtPtr ParserState::declaration_with_visibility() {
  Visibility v = next().kind == Tok::kw_public ? Visibility::is_public : Visibility::is_private;
  bool is_default = false;
  if (at_word("default")) {
    next();
    is_default = true;
    if (v != Visibility::is_public) fail(SyntaxError::syn_default_needs_public);
  }
  if (at(Tok::kw_sub) || at(Tok::kw_function) || at_word("property")) return procedure(v, is_default);
  if (is_default) fail(SyntaxError::syn_expected_function);
  if (accept(Tok::kw_const)) return const_statement(v);
  return dim_statement(v);
}

// if := If expr Then (newline block {ElseIf expr Then block} [Else block] End If
//                     | statements [Else statements])
StmtPtr ParserState::if_statement() {
  const Token& t = next();
  auto s = stmt_at<IfStmt>(t);
  ExprPtr cond = expr();
  expect(Tok::kw_then, SyntaxError::syn_expected_then);
  if (!at(Tok::newline) && !at(Tok::eof)) {
    ++inline_if_;
    Block arm;
    inline_statements(arm);
    s->arms.emplace_back(std::move(cond), std::move(arm));
    if (accept(Tok::kw_else)) inline_statements(s->otherwise);
    --inline_if_;
    if (at(Tok::kw_end) && peek(1).kind == Tok::kw_if) {  // tolerated: "If a Then b: End If"
      next();
      next();
    }
    return s;
  }
  s->arms.emplace_back(std::move(cond), block());
  while (at(Tok::kw_elseif)) {
    next();
    ExprPtr c = expr();
    expect(Tok::kw_then, SyntaxError::syn_expected_then);
    s->arms.emplace_back(std::move(c), block());
  }
  if (accept(Tok::kw_else)) s->otherwise = block();
  expect(Tok::kw_end, SyntaxError::syn_expected_end);
  expect(Tok::kw_if, SyntaxError::syn_expected_if);
  return s;
}

// statements := statement {":" statement}, up to the end of the line or Else
void ParserState::inline_statements(Block& out) {
  while (true) {
    if (at(Tok::newline) || at(Tok::eof) || at(Tok::kw_else)) return;
    if (at(Tok::kw_end) && peek(1).kind == Tok::kw_if) return;
    if (accept(Tok::colon)) continue;
    out.push_back(statement());
  }
}

// select := Select Case expr {Case (Else | expr {"," expr}) block} End Select
StmtPtr ParserState::select_statement() {
  const Token& t = next();
  auto s = stmt_at<SelectStmt>(t);
  expect(Tok::kw_case, SyntaxError::syn_expected_case);
  s->subject = expr();
  end_of_statement();
  while (is_separator(kind())) next();
  while (accept(Tok::kw_case)) {
    SelectStmt::Case c;
    if (!accept(Tok::kw_else)) {
      do c.values.push_back(expr());
      while (accept(Tok::comma));
    }
    c.body = block();
    s->cases.push_back(std::move(c));
  }
  expect(Tok::kw_end, SyntaxError::syn_expected_end);
  expect(Tok::kw_select, SyntaxError::syn_expected_select);
  return s;
}

// for := For name "=" expr To expr [Step expr] block Next
//      | For Each name In expr block Next
StmtPtr ParserState::for_statement() {
  const Token& t = next();
  if (accept(Tok::kw_each)) {
    auto s = stmt_at<ForEachStmt>(t);
    s->var = make(ExprKind::ident, peek());
    s->var->name = identifier();
    expect(Tok::kw_in, SyntaxError::syn_expected_in);
    s->collection = expr();
    end_of_statement();
    s->body = block();
    expect(Tok::kw_next, SyntaxError::syn_expected_next);
    if (at(Tok::identifier)) next();
    return s;
  }
  auto s = stmt_at<ForStmt>(t);
  s->var = make(ExprKind::ident, peek());
  if (!at(Tok::identifier)) fail(SyntaxError::syn_invalid_for_variable);
  s->var->name = identifier();
  expect(Tok::eq, SyntaxError::syn_expected_eq);
  s->from = expr();
  expect(Tok::kw_to, SyntaxError::syn_expected_to);
  s->to = expr();
  if (at_word("step")) {
    next();
    s->step = expr();
  }
  end_of_statement();
  s->body = block();
  expect(Tok::kw_next, SyntaxError::syn_expected_next);
  if (at(Tok::identifier)) next();
  return s;
}

// do := Do [(While | Until) expr] block Loop [(While | Until) expr]
StmtPtr ParserState::do_statement() {
  const Token& t = next();
  auto s = stmt_at<DoStmt>(t);
  if (at(Tok::kw_while) || at(Tok::kw_until)) {
    s->until = next().kind == Tok::kw_until;
    s->cond = expr();
  }
  end_of_statement();
  s->body = block();
  expect(Tok::kw_loop, SyntaxError::syn_expected_loop);
  if (at(Tok::kw_while) || at(Tok::kw_until)) {
    if (s->cond) fail(SyntaxError::syn_expected_end_of_statement);
    s->until = next().kind == Tok::kw_until;
    s->cond = expr();
    s->test_at_end = true;
  }
  return s;
}

// while := While expr block Wend
StmtPtr ParserState::while_statement() {
  const Token& t = next();
  auto s = stmt_at<DoStmt>(t);
  s->cond = expr();
  end_of_statement();
  s->body = block();
  expect(Tok::kw_wend, SyntaxError::syn_expected_wend);
  return s;
}

// with := With expr block End With
StmtPtr ParserState::with_statement() {
  const Token& t = next();
  auto s = stmt_at<WithStmt>(t);
  s->object = expr();
  end_of_statement();
  s->body = block();
  expect(Tok::kw_end, SyntaxError::syn_expected_end);
  expect(Tok::kw_with, SyntaxError::syn_expected_with);
  return s;
}

// exit := Exit (Do | For | Function | Sub | Property)
StmtPtr ParserState::exit_statement() {
  const Token& t = next();
  auto s = stmt_at<ExitStmt>(t);
  if (accept(Tok::kw_do)) s->what = ExitKind::do_loop;
  else if (accept(Tok::kw_for)) s->what = ExitKind::for_loop;
  else if (accept(Tok::kw_function)) s->what = ExitKind::function;
  else if (accept(Tok::kw_sub)) s->what = ExitKind::sub;
  else if (at_word("property")) { next(); s->what = ExitKind::property; }
  else fail(SyntaxError::syn_invalid_exit);
  return s;
}

// on-error := On Error (Resume Next | GoTo 0)
StmtPtr ParserState::on_error_statement() {
  const Token& t = next();
  auto s = stmt_at<OnErrorStmt>(t);
  expect_word("error", SyntaxError::syn_syntax_error);
  if (at_word("resume")) {
    next();
    expect(Tok::kw_next, SyntaxError::syn_syntax_error);
    s->resume_next = true;
  } else {
    expect_word("goto", SyntaxError::syn_syntax_error);
    if (!at(Tok::integer) || peek().number != 0) fail(SyntaxError::syn_syntax_error);
    next();
  }
  return s;
}

// erase := Erase name {"," name}
StmtPtr ParserState::erase_statement() {
  const Token& t = next();
  auto s = stmt_at<EraseStmt>(t);
  do {
    auto e = make(ExprKind::ident, peek());
    e->name = identifier();
    s->targets.push_back(std::move(e));
  } while (accept(Tok::comma));
  return s;
}

// procedure := (Sub | Function | Property (Get | Let | Set)) name
//              ["(" [param {"," param}] ")"] block End (Sub | Function | Property)
// param := [ByVal | ByRef] name ["(" ")"]
std::unique_ptr<ProcDecl> ParserState::procedure(Visibility v, bool is_default) {
  const Token& t = peek();
  if (in_proc_) fail(SyntaxError::syn_syntax_error);
  auto p = stmt_at<ProcDecl>(t);
  p->visibility = v;
  p->is_default = is_default;
  Tok closing;
  if (accept(Tok::kw_sub)) {
    p->proc_kind = ProcKind::sub;
    closing = Tok::kw_sub;
  } else if (accept(Tok::kw_function)) {
    p->proc_kind = ProcKind::function;
    closing = Tok::kw_function;
  } else {
    expect_word("property", SyntaxError::syn_expected_property);
    closing = Tok::identifier;
    if (at_word("get")) p->proc_kind = ProcKind::property_get;
    else if (at_word("let")) p->proc_kind = ProcKind::property_let;
    else if (at(Tok::kw_set)) p->proc_kind = ProcKind::property_set;
    else fail(SyntaxError::syn_expected_let_set_get);
    next();
    if (is_default && p->proc_kind != ProcKind::property_get) fail(SyntaxError::syn_default_only_get);
  }
  p->name = identifier();
  if (accept(Tok::lparen)) {
    if (!accept(Tok::rparen)) {
      do {
        Param prm;
        if (accept(Tok::kw_byval)) prm.by_val = true;
        else accept(Tok::kw_byref);
        prm.name = identifier();
        if (accept(Tok::lparen)) {
          expect(Tok::rparen, SyntaxError::syn_expected_rparen);
          prm.is_array = true;
        }
        p->params.push_back(std::move(prm));
      } while (accept(Tok::comma));
      expect(Tok::rparen, SyntaxError::syn_expected_rparen);
    }
  }
  if ((p->proc_kind == ProcKind::property_let || p->proc_kind == ProcKind::property_set) &&
      p->params.empty())
    fail(SyntaxError::syn_let_set_needs_arg);
  end_of_statement();
  in_proc_ = true;
  p->body = block();
  in_proc_ = false;
  expect(Tok::kw_end, SyntaxError::syn_expected_end);
  if (closing == Tok::identifier) {
    expect_word("property", SyntaxError::syn_expected_property);
  } else if (!accept(closing)) {
    fail(closing == Tok::kw_sub ? SyntaxError::syn_expected_sub : SyntaxError::syn_expected_function);
  }
  return p;
}

// class := Class name {member} End Class
// member := (Public | Private | Dim) var-list | [Public [Default] | Private] procedure | Const
StmtPtr ParserState::class_declaration() {
  const Token& t = next();
  if (in_proc_) fail(SyntaxError::syn_syntax_error);
  auto c = stmt_at<ClassDecl>(t);
  c->name = identifier();
  end_of_statement();
  while (true) {
    while (is_separator(kind())) next();
    if (at(Tok::kw_end) || at(Tok::eof)) break;
    StmtPtr m;
    if (at(Tok::kw_public) || at(Tok::kw_private)) {
      m = declaration_with_visibility();
    } else if (accept(Tok::kw_dim)) {
      m = dim_statement(Visibility::dim);
    } else if (at(Tok::kw_sub) || at(Tok::kw_function) || at_word("property")) {
      m = procedure(Visibility::dim, false);
    } else if (accept(Tok::kw_const)) {
      m = const_statement(Visibility::dim);
    } else {
      fail(SyntaxError::syn_expected_statement);
    }
    end_of_statement();
    switch (m->kind) {
      case StmtKind::dim: c->fields.emplace_back(static_cast<DimStmt*>(m.release())); break;
      case StmtKind::constant: c->constants.emplace_back(static_cast<ConstStmt*>(m.release())); break;
      default: c->procs.emplace_back(static_cast<ProcDecl*>(m.release())); break;
    }
  }
  expect(Tok::kw_end, SyntaxError::syn_expected_end);
  expect(Tok::kw_class, SyntaxError::syn_expected_class);
  return c;
}

namespace {

template <typename Fn>
ParseResult run_parser(std::u16string_view source, Fn body) {
  ParseResult r;
  LexResult lex = tokenize(source);
  if (!lex) {
    r.error = lex.error;
    r.line = lex.line;
    r.column = lex.column;
    return r;
  }
  ParserState p(std::move(lex.tokens));
  try {
    body(p, r);
  } catch (const ParseFailure& f) {
    r.module.reset();
    r.expression.reset();
    r.error = f.error;
    r.line = f.line;
    r.column = f.column;
  }
  return r;
}

}  // namespace

ParseResult parse_module(std::u16string_view source) {
  return run_parser(source, [](ParserState& p, ParseResult& r) {
    r.module = std::make_unique<Module>();
    p.parse_module_body(*r.module);
  });
}

ParseResult parse_expression(std::u16string_view source) {
  return run_parser(source, [](ParserState& p, ParseResult& r) {
    while (p.at(Tok::newline)) p.next();
    r.expression = p.parse_expression_only();
  });
}

}  // namespace tap::vbs
