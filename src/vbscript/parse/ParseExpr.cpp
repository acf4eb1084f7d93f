// Expressions, lowest precedence first:
//   Imp < Eqv < Xor < Or < And < Not < comparisons (= <> < > <= >= Is)
//   < & < + - < Mod < \ < * / < ^ < unary - < postfix (.name, (args))
#include <algorithm>

#include "platform/com/conversions.h"
#include "vbscript/parse/ParserState.h"

namespace tap::vbs {

using namespace ast;

namespace {
// Left-leaning chains ("a + b + c ...", "a.b.c ...") are built without
// recursion but walked recursively later.
constexpr std::int32_t max_height = 2000;
}  // namespace

ExprPtr ParserState::make(ExprKind kind, const Token& at) {
  auto e = std::make_unique<Expr>();
  e->kind = kind;
  e->line = at.line;
  e->column = at.column;
  return e;
}

ExprPtr ParserState::binary(Op op, ExprPtr a, ExprPtr b, const Token& at) {
  auto e = make(ExprKind::binary, at);
  e->op = op;
  e->height = 1 + std::max(a->height, b->height);
  if (e->height > max_height) fail(static_cast<std::int32_t>(RuntimeError::out_of_stack_space), at);
  e->a = std::move(a);
  e->b = std::move(b);
  return e;
}

std::u16string ParserState::identifier() {
  if (!at(Tok::identifier)) fail(SyntaxError::syn_expected_identifier);
  return std::u16string(next().text);
}

// A member name after '.' may be any word, reserved or not (obj.Type, Err.Raise).
std::u16string ParserState::member_name() {
  const Token& t = peek();
  if (t.kind == Tok::identifier || (t.kind >= Tok::kw_and && !t.text.empty())) {
    next();
    return std::u16string(t.text);
  }
  fail(SyntaxError::syn_expected_identifier);
}

// expr := imp
ExprPtr ParserState::expr() {
  DepthGuard guard(*this);
  return imp_expr();
}

#define TAP_VBS_LEFT_ASSOC(fn, sub, tok, op_)      \
  ExprPtr ParserState::fn() {                      \
    ExprPtr e = sub();                             \
    while (at(Tok::tok)) {                         \
      const Token& t = next();                     \
      e = binary(Op::op_, std::move(e), sub(), t); \
    }                                              \
    return e;                                      \
  }

// imp := eqv {Imp eqv}, and so on down to mul.
TAP_VBS_LEFT_ASSOC(imp_expr, eqv_expr, kw_imp, imp)
TAP_VBS_LEFT_ASSOC(eqv_expr, xor_expr, kw_eqv, eqv)
TAP_VBS_LEFT_ASSOC(xor_expr, or_expr, kw_xor, xor_)
TAP_VBS_LEFT_ASSOC(or_expr, and_expr, kw_or, or_)
TAP_VBS_LEFT_ASSOC(and_expr, not_expr, kw_and, and_)
TAP_VBS_LEFT_ASSOC(concat_expr, additive_expr, amp, cat)
TAP_VBS_LEFT_ASSOC(mod_expr, idiv_expr, kw_mod, mod)
TAP_VBS_LEFT_ASSOC(idiv_expr, mul_expr, backslash, idiv)
#undef TAP_VBS_LEFT_ASSOC

// not := Not not | compare
ExprPtr ParserState::not_expr() {
  if (at(Tok::kw_not)) {
    DepthGuard guard(*this);
    const Token& t = next();
    auto e = make(ExprKind::unary, t);
    e->op = Op::not_;
    e->a = not_expr();
    return e;
  }
  return compare_expr();
}

// compare := concat {(= | <> | < | > | <= | >= | Is) concat}
ExprPtr ParserState::compare_expr() {
  ExprPtr e = concat_expr();
  while (true) {
    Op op;
    switch (kind()) {
      case Tok::eq: op = Op::eq; break;
      case Tok::ne: op = Op::ne; break;
      case Tok::lt: op = Op::lt; break;
      case Tok::gt: op = Op::gt; break;
      case Tok::le: op = Op::le; break;
      case Tok::ge: op = Op::ge; break;
      case Tok::kw_is: op = Op::is; break;
      default: return e;
    }
    const Token& t = next();
    e = binary(op, std::move(e), concat_expr(), t);
  }
}

// additive := mod {(+ | -) mod}
ExprPtr ParserState::additive_expr() {
  ExprPtr e = mod_expr();
  while (at(Tok::plus) || at(Tok::minus)) {
    const Token& t = next();
    e = binary(t.kind == Tok::plus ? Op::add : Op::sub, std::move(e), mod_expr(), t);
  }
  return e;
}

// mul := power {(* | /) power}
ExprPtr ParserState::mul_expr() {
  ExprPtr e = power_expr();
  while (at(Tok::star) || at(Tok::slash)) {
    const Token& t = next();
    e = binary(t.kind == Tok::star ? Op::mul : Op::div, std::move(e), power_expr(), t);
  }
  return e;
}

// power := unary {^ unary}; negation binds tighter, so -2^2 is (-2)^2.
ExprPtr ParserState::power_expr() {
  ExprPtr e = unary_expr();
  while (at(Tok::caret)) {
    const Token& t = next();
    e = binary(Op::pow, std::move(e), unary_expr(), t);
  }
  return e;
}

// unary := (- | +) unary | Not not | postfix
ExprPtr ParserState::unary_expr() {
  if (at(Tok::minus) || at(Tok::plus) || at(Tok::kw_not)) {
    DepthGuard guard(*this);
    if (at(Tok::kw_not)) return not_expr();
    const Token& t = next();
    ExprPtr operand = unary_expr();
    if (t.kind == Tok::plus) return operand;
    auto e = make(ExprKind::unary, t);
    e->op = Op::neg;
    e->a = std::move(operand);
    return e;
  }
  return postfix_chain(false);
}

// args := "(" [arg {"," arg}] ")", where an arg may be left out.
void ParserState::call_args(Expr& call) {
  expect(Tok::lparen, SyntaxError::syn_expected_lparen);
  if (accept(Tok::rparen)) return;
  while (true) {
    if (at(Tok::comma) || at(Tok::rparen)) call.args.push_back(nullptr);
    else call.args.push_back(expr());
    if (accept(Tok::comma)) continue;
    expect(Tok::rparen, SyntaxError::syn_expected_rparen);
    return;
  }
}

// postfix := primary {"." name | args}
ExprPtr ParserState::postfix_chain(bool statement_start) {
  DepthGuard guard(*this);
  ExprPtr e;
  if (at(Tok::dot)) {  // .name inside With
    const Token& t = next();
    e = make(ExprKind::member, t);
    e->name = member_name();
  } else if (statement_start && !at(Tok::lparen)) {
    const Token& t = peek();
    if (at(Tok::kw_me)) {
      next();
      e = make(ExprKind::me, t);
    } else {
      e = make(ExprKind::ident, t);
      e->name = identifier();
    }
  } else {
    e = primary();
  }
  while (true) {
    // "f .x" inside With passes .x to f.
    if (at(Tok::dot) && !peek().space_before) {
      const Token& t = next();
      auto m = make(ExprKind::member, t);
      m->height = e->height + 1;
      m->a = std::move(e);
      m->name = member_name();
      e = std::move(m);
    } else if (at(Tok::lparen) && e->kind != ExprKind::literal && e->kind != ExprKind::new_object) {
      const Token& t = peek();
      auto c = make(ExprKind::call, t);
      c->height = e->height + 1;
      c->a = std::move(e);
      call_args(*c);
      e = std::move(c);
    } else {
      return e;
    }
    if (e->height > max_height) fail(static_cast<std::int32_t>(RuntimeError::out_of_stack_space), peek());
  }
}

// primary := literal | "(" expr ")" | New name | Me | Nothing | name
ExprPtr ParserState::primary() {
  const Token& t = peek();
  auto literal = [&](com::Variant v) {
    next();
    auto e = make(ExprKind::literal, t);
    e->value = std::move(v);
    return e;
  };
  switch (t.kind) {
    case Tok::integer:
      if (t.is_long) return literal(com::Variant(static_cast<std::int32_t>(t.number)));
      return literal(com::Variant(static_cast<std::int16_t>(t.number)));
    case Tok::number: return literal(com::Variant(t.number));
    case Tok::string: {
      std::u16string s;
      s.reserve(t.text.size());
      for (std::size_t i = 0; i < t.text.size(); ++i) {
        s.push_back(t.text[i]);
        if (t.text[i] == u'"') ++i;  // "" stands for one quote
      }
      return literal(com::Variant(std::move(s)));
    }
    case Tok::date: {
      com::Variant d;
      if (com::failed(com::change_type(d, com::Variant(std::u16string(t.text)), com::VT_DATE)))
        fail(SyntaxError::syn_syntax_error);
      return literal(std::move(d));
    }
    case Tok::kw_true: return literal(com::Variant(true));
    case Tok::kw_false: return literal(com::Variant(false));
    case Tok::kw_null: return literal(com::Variant::null());
    case Tok::kw_empty: return literal(com::Variant());
    case Tok::kw_nothing: next(); return make(ExprKind::nothing, t);
    case Tok::kw_me: next(); return make(ExprKind::me, t);
    case Tok::kw_new: {
      next();
      auto e = make(ExprKind::new_object, t);
      e->name = identifier();
      return e;
    }
    case Tok::lparen: {
      next();
      auto e = make(ExprKind::paren, t);
      e->a = expr();
      expect(Tok::rparen, SyntaxError::syn_expected_rparen);
      return e;
    }
    case Tok::identifier: {
      next();
      auto e = make(ExprKind::ident, t);
      e->name = std::u16string(t.text);
      return e;
    }
    default: fail(SyntaxError::syn_expected_expression);
  }
}

}  // namespace tap::vbs
