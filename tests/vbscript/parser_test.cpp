// Tokens and precedence: the places where a wrong rule silently changes
// what a script computes. Trees whose value the golden scripts
// language/operators.vbs and call_forms.vbs already tell apart are not
// repeated here.
#include <gtest/gtest.h>

#include <string>

#include "platform/os/code_page.h"
#include "vbscript/lex/Lexer.h"
#include "vbscript/parse/Parser.h"

namespace {

using namespace tap::vbs;

std::string op_name(ast::Op op) {
  static const char* names[] = {"+", "-", "*", "/", "\\", "mod", "^", "&", "=", "<>", "<", ">", "<=", ">=",
                                "is", "and", "or", "xor", "eqv", "imp", "neg", "not"};
  return names[static_cast<int>(op)];
}

// Writes the tree as an s-expression.
std::string show(const ast::Expr& e) {
  switch (e.kind) {
    case ast::ExprKind::literal:
      if (e.value.vt() == tap::com::VT_I2) return std::to_string(e.value.i2());
      if (e.value.vt() == tap::com::VT_I4) return std::to_string(e.value.i4()) + "&";
      if (e.value.vt() == tap::com::VT_BSTR) return "\"" + tap::os::wide_to_utf8(e.value.bstr().view()) + "\"";
      return "lit";
    case ast::ExprKind::ident: return tap::os::wide_to_utf8(e.name);
    case ast::ExprKind::member: return (e.a ? show(*e.a) : std::string()) + "." + tap::os::wide_to_utf8(e.name);
    case ast::ExprKind::call: {
      std::string s = show(*e.a) + "(";
      for (std::size_t i = 0; i < e.args.size(); ++i) s += (i ? "," : "") + (e.args[i] ? show(*e.args[i]) : "_");
      return s + ")";
    }
    case ast::ExprKind::unary: return "(" + op_name(e.op) + " " + show(*e.a) + ")";
    case ast::ExprKind::binary: return "(" + op_name(e.op) + " " + show(*e.a) + " " + show(*e.b) + ")";
    case ast::ExprKind::paren: return "[" + show(*e.a) + "]";
    case ast::ExprKind::new_object: return "new " + tap::os::wide_to_utf8(e.name);
    case ast::ExprKind::me: return "me";
    case ast::ExprKind::nothing: return "nothing";
  }
  return "?";
}

TEST(Parser, Precedence) {
  struct Case {
    const char16_t* text;
    const char* tree;
  };
  const Case cases[] = {
      {u"-x ^ 2 * 3", "(* (^ (neg x) 2) 3)"},
      {u"a => b Or a =< b Or a >< b", "(or (or (>= a b) (<= a b)) (<> a b))"},
      {u"(f)(1)", "[f](1)"},
      {u"a Mod b \\ c * d", "(mod a (\\ b (* c d)))"},
      {u"a & b = c", "(= (& a b) c)"},
      {u"a = b And c Or d", "(or (and (= a b) c) d)"},
      {u"a Or b Xor c Eqv d Imp e", "(imp (eqv (xor (or a b) c) d) e)"},
      {u"x Is Nothing", "(is x nothing)"},
      {u"a.b(1, , 3).c", "a.b(1,_,3).c"},
      {u"-x + -y", "(+ (neg x) (neg y))"},
      {u"\"a\"\"b\"", "\"a\"b\""},
      {u"&HFFFF + &H10000", "(+ -1 65536&)"},
      {u"32767 + 32768", "(+ 32767 32768&)"},
      {u"obj.Type.End", "obj.Type.End"},
  };
  for (const Case& c : cases) {
    ParseResult r = parse_expression(c.text);
    ASSERT_TRUE(r) << c.tree << " error " << r.error;
    EXPECT_EQ(show(*r.expression), c.tree);
  }
}

TEST(Parser, CallStatementsWithoutParentheses) {
  struct Case {
    const char16_t* text;
    const char* call;
  };
  const Case cases[] = {
      {u"f 1, 2", "f(1,2)"},
      {u"f (1) + 2, 3", "f((+ [1] 2),3)"},
      {u"o.m a, , b", "o.m(a,_,b)"},
      {u"f", "f"},
      {u"o.m", "o.m"},
      {u"f -1", "f((neg 1))"},
      {u"Call (New C).M", "[new C].M"},
      {u"Call ((f)) (x)", "[[f]](x)"},
      {u"(f)(1)", "[f]([1])"},
  };
  for (const Case& c : cases) {
    ParseResult r = parse_module(c.text);
    ASSERT_TRUE(r) << c.call << " error " << r.error;
    ASSERT_EQ(r.module->body.size(), 1u);
    auto& s = static_cast<const ast::CallStmt&>(*r.module->body[0]);
    ASSERT_EQ(s.kind, ast::StmtKind::call);
    EXPECT_EQ(show(*s.call), c.call);
  }
}

TEST(Lexer, ErrorsCarryPosition) {
  struct Case {
    const char16_t* text;
    std::int32_t error, line, column;
  };
  const Case cases[] = {
      {u"x = \"abc", 1033, 1, 5},
      {u"x = 1\n  y = @", 1032, 2, 7},
      {u"x = &HFFFFFFFFF", 1031, 1, 5},
      {u"x = [abc", 1007, 1, 9},
      {u"x = 12abc", 1025, 1, 7},
  };
  for (const Case& c : cases) {
    LexResult r = tokenize(c.text);
    EXPECT_EQ(r.error, c.error);
    EXPECT_EQ(r.line, c.line);
    EXPECT_EQ(r.column, c.column);
  }
}

TEST(Lexer, ContinuationsCommentsAndSeparators) {
  LexResult r = tokenize(u"a = 1 _\n  + 2 ' note\nRem all of this\nb:c");
  ASSERT_TRUE(r);
  std::vector<Tok> kinds;
  for (const Token& t : r.tokens) kinds.push_back(t.kind);
  std::vector<Tok> want{Tok::identifier, Tok::eq, Tok::integer, Tok::plus, Tok::integer, Tok::newline,
                        Tok::newline, Tok::identifier, Tok::colon, Tok::identifier, Tok::eof};
  // Consecutive newlines collapse into one.
  want.erase(want.begin() + 6);
  EXPECT_EQ(kinds, want);
  EXPECT_EQ(r.tokens[3].line, 2);
}

}  // namespace
