#pragma once
// Shared by the statement and expression halves of the parser.
#include <cstdint>
#include <vector>

#include "vbscript/ScriptError.h"
#include "vbscript/lex/Lexer.h"
#include "vbscript/parse/Ast.h"
#include "vbscript/vm/stack_bound.h"

namespace tap::vbs {

// Thrown inside the parser only; parse_module turns it into a result.
struct ParseFailure {
  std::int32_t error;
  std::int32_t line, column;
};

class ParserState {
 public:
  explicit ParserState(std::vector<Token> tokens)
      : t_(std::move(tokens)), stack_limit_(call_stack_limit(static_cast<const char*>(__builtin_frame_address(0)))) {}

  // Statements (Parser.cpp)
  void parse_module_body(ast::Module& m);
  ast::ExprPtr parse_expression_only();

  // Expressions (ParseExpr.cpp)
  ast::ExprPtr expr();
  ast::ExprPtr postfix_chain(bool statement_start);
  void call_args(ast::Expr& call);

 private:
  friend class DepthGuard;
  // statements
  ast::Block block();
  ast::StmtPtr statement();
  ast::StmtPtr statement_inner();
  ast::StmtPtr identifier_statement();
  ast::StmtPtr dim_statement(ast::Visibility v);
  ast::StmtPtr redim_statement();
  ast::StmtPtr const_statement(ast::Visibility v);
  ast::StmtPtr if_statement();
  ast::StmtPtr select_statement();
  ast::StmtPtr for_statement();
  ast::StmtPtr do_statement();
  ast::StmtPtr while_statement();
  ast::StmtPtr with_statement();
  ast::StmtPtr exit_statement();
  ast::StmtPtr on_error_statement();
  ast::StmtPtr set_statement();
  ast::StmtPtr call_statement();
  ast::StmtPtr erase_statement();
  std::unique_ptr<ast::ProcDecl> procedure(ast::Visibility v, bool is_default);
  ast::StmtPtr class_declaration();
  ast::StmtPtr declaration_with_visibility();
  ast::VarDecl var_decl(bool allow_bounds);
  void end_of_statement();
  void inline_statements(ast::Block& out);

  bool at_block_end() const;

  // expressions
  ast::ExprPtr imp_expr();
  ast::ExprPtr eqv_expr();
  ast::ExprPtr xor_expr();
  ast::ExprPtr or_expr();
  ast::ExprPtr and_expr();
  ast::ExprPtr not_expr();
  ast::ExprPtr compare_expr();
  ast::ExprPtr concat_expr();
  ast::ExprPtr additive_expr();
  ast::ExprPtr mod_expr();
  ast::ExprPtr idiv_expr();
  ast::ExprPtr mul_expr();
  ast::ExprPtr unary_expr();
  ast::ExprPtr power_expr();
  ast::ExprPtr primary();
  ast::ExprPtr make(ast::ExprKind kind, const Token& at);
  ast::ExprPtr binary(ast::Op op, ast::ExprPtr a, ast::ExprPtr b, const Token& at);

 public:
  // tokens
  const Token& peek(std::size_t ahead = 0) const {
    std::size_t i = pos_ + ahead;
    return i < t_.size() ? t_[i] : t_.back();
  }
  Tok kind() const { return peek().kind; }
  bool at(Tok k) const { return kind() == k; }
  bool at_word(std::string_view w) const { return at(Tok::identifier) && word_is(peek().text, w); }
  const Token& next() {
    const Token& t = peek();
    if (pos_ < t_.size() - 1) ++pos_;
    return t;
  }
  bool accept(Tok k) {
    if (!at(k)) return false;
    next();
    return true;
  }
  void expect(Tok k, SyntaxError e) {
    if (!accept(k)) fail(e);
  }
  void expect_word(std::string_view w, SyntaxError e) {
    if (!at_word(w)) fail(e);
    next();
  }
  std::u16string identifier();
  std::u16string member_name();
  [[noreturn]] void fail(SyntaxError e) const { fail(static_cast<std::int32_t>(e), peek()); }
  [[noreturn]] void fail(std::int32_t number, const Token& at) const {
    throw ParseFailure{number, at.line, at.column};
  }
  bool at_end_of_statement() const { return ends_statement(0); }
  // Whether the token `ahead` ends a statement: a separator, Else in a
  // single-line If, or an "End <block>" on the same line ("x = 1 End If").
  bool ends_statement(std::size_t ahead) const {
    switch (peek(ahead).kind) {
      case Tok::newline: case Tok::colon: case Tok::eof: return true;
      case Tok::kw_else: return inline_if_ > 0;
      case Tok::kw_end: return closes_block(peek(ahead + 1));
      default: return false;
    }
  }
  static bool closes_block(const Token& t) {
    switch (t.kind) {
      case Tok::kw_if: case Tok::kw_sub: case Tok::kw_function: case Tok::kw_select: case Tok::kw_with:
      case Tok::kw_class:
        return true;
      default: return t.kind == Tok::identifier && word_is(t.text, "property");
    }
  }

  std::size_t pos_ = 0;
  int depth_ = 0;
  bool in_proc_ = false;
  int inline_if_ = 0;
  std::vector<Token> t_;
  const char* stack_limit_;
};

// Bounds the parser's recursion so that deeply nested source fails with
// "Out of stack space" instead of overflowing the native stack, also where
// the thread's stack is small.
class DepthGuard {
 public:
  explicit DepthGuard(ParserState& p) : p_(p) {
    if (++p_.depth_ > max_depth || static_cast<const char*>(__builtin_frame_address(0)) < p_.stack_limit_)
      p_.fail(static_cast<std::int32_t>(RuntimeError::out_of_stack_space), p_.peek());
  }
  ~DepthGuard() { --p_.depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;
  static constexpr int max_depth = 200;

 private:
  ParserState& p_;
};

}  // namespace tap::vbs
