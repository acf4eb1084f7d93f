#pragma once
// Token kinds in one table. Keywords are reserved words only; words that
// matter in one place alone (Step, Preserve, Property, Get, Let, Default,
// Error, Resume, GoTo, Explicit) stay identifiers so scripts may use them
// as names, and the parser tests their text where they apply.
#include <cstdint>

namespace tap::vbs {

// X(name, text)
#define TAP_VBS_PUNCT_TOKENS(X) \
  X(eof, "end of script")       \
  X(newline, "end of line")     \
  X(colon, ":")                 \
  X(identifier, "identifier")   \
  X(integer, "integer")         \
  X(number, "number")           \
  X(string, "string")           \
  X(date, "date")               \
  X(plus, "+")                  \
  X(minus, "-")                 \
  X(star, "*")                  \
  X(slash, "/")                 \
  X(backslash, "\\")            \
  X(caret, "^")                 \
  X(amp, "&")                   \
  X(eq, "=")                    \
  X(ne, "<>")                   \
  X(lt, "<")                    \
  X(gt, ">")                    \
  X(le, "<=")                   \
  X(ge, ">=")                   \
  X(lparen, "(")                \
  X(rparen, ")")                \
  X(comma, ",")                 \
  X(dot, ".")

// X(name, text): reserved words, matched case-insensitively.
#define TAP_VBS_KEYWORD_TOKENS(X)                                                          \
  X(kw_and, "and") X(kw_byref, "byref") X(kw_byval, "byval") X(kw_call, "call")            \
  X(kw_case, "case") X(kw_class, "class") X(kw_const, "const") X(kw_dim, "dim")            \
  X(kw_do, "do") X(kw_each, "each") X(kw_else, "else") X(kw_elseif, "elseif")              \
  X(kw_empty, "empty") X(kw_end, "end") X(kw_eqv, "eqv") X(kw_erase, "erase")              \
  X(kw_exit, "exit") X(kw_false, "false") X(kw_for, "for") X(kw_function, "function")      \
  X(kw_if, "if") X(kw_imp, "imp") X(kw_in, "in") X(kw_is, "is") X(kw_loop, "loop")         \
  X(kw_me, "me") X(kw_mod, "mod") X(kw_new, "new") X(kw_next, "next") X(kw_not, "not")     \
  X(kw_nothing, "nothing") X(kw_null, "null") X(kw_on, "on") X(kw_option, "option")        \
  X(kw_or, "or") X(kw_private, "private") X(kw_public, "public") X(kw_redim, "redim")      \
  X(kw_select, "select") X(kw_set, "set") X(kw_sub, "sub") X(kw_then, "then")              \
  X(kw_to, "to") X(kw_true, "true") X(kw_until, "until") X(kw_wend, "wend")                \
  X(kw_while, "while") X(kw_with, "with") X(kw_xor, "xor")

enum class Tok : std::uint8_t {
#define TAP_VBS_TOKEN_ENUM(name, text) name,
  TAP_VBS_PUNCT_TOKENS(TAP_VBS_TOKEN_ENUM) TAP_VBS_KEYWORD_TOKENS(TAP_VBS_TOKEN_ENUM)
#undef TAP_VBS_TOKEN_ENUM
};

const char* token_text(Tok kind);

}  // namespace tap::vbs
