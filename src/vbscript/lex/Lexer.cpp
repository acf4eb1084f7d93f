#include "vbscript/lex/Lexer.h"

#include <cmath>

#include "vbscript/ScriptError.h"
#include "vbscript/vm/RunLimits.h"

namespace tap::vbs {

const char* token_text(Tok kind) {
  switch (kind) {
#define TAP_VBS_TOKEN_TEXT(name, text) \
  case Tok::name:                      \
    return text;
    TAP_VBS_PUNCT_TOKENS(TAP_VBS_TOKEN_TEXT)
    TAP_VBS_KEYWORD_TOKENS(TAP_VBS_TOKEN_TEXT)
#undef TAP_VBS_TOKEN_TEXT
  }
  return "?";
}

bool word_is(std::u16string_view text, std::string_view lower_word) {
  if (text.size() != lower_word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    if (c != static_cast<unsigned char>(lower_word[i])) return false;
  }
  return true;
}

namespace {

constexpr std::size_t max_identifier = 255;

bool is_letter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c >= 0xC0; }
bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool is_ident_char(char16_t c) { return is_letter(c) || is_digit(c) || c == u'_'; }
bool is_blank(char16_t c) { return c == u' ' || c == u'\t' || c == 0xA0 || c == u'\f' || c == u'\v'; }

struct Keyword {
  std::string_view word;
  Tok kind;
};
constexpr Keyword keywords[] = {
#define TAP_VBS_KEYWORD_ENTRY(name, text) {text, Tok::name},
    TAP_VBS_KEYWORD_TOKENS(TAP_VBS_KEYWORD_ENTRY)
#undef TAP_VBS_KEYWORD_ENTRY
};

Tok keyword_or_identifier(std::u16string_view word) {
  if (word.size() < 2 || word.size() > 8) return Tok::identifier;
  for (const Keyword& k : keywords)
    if (word_is(word, k.word)) return k.kind;
  return Tok::identifier;
}

class Scanner {
 public:
  explicit Scanner(std::u16string_view s) : s_(s) {}

  LexResult run() {
    LexResult out;
    while (true) {
      // Execute and Eval compile while a run's clock runs.
      RunLimits::poll(1);
      bool space = skip_blanks();
      if (error_) break;
      Token t;
      t.space_before = space;
      t.line = line_;
      t.column = static_cast<std::int32_t>(pos_ - line_start_) + 1;
      if (pos_ >= s_.size()) {
        t.kind = Tok::eof;
        out.tokens.push_back(t);
        break;
      }
      if (!scan(t)) break;
      // A comment that runs to the end of the line is dropped; the newline
      // still ends the statement.
      if (t.kind == Tok::identifier && t.text.empty()) continue;
      if (t.kind == Tok::newline && !out.tokens.empty() && out.tokens.back().kind == Tok::newline)
        continue;
      out.tokens.push_back(t);
    }
    if (error_) {
      out.tokens.clear();
      out.error = error_;
      out.line = err_line_;
      out.column = err_col_;
    }
    return out;
  }

 private:
  bool fail(SyntaxError e, std::size_t at) {
    error_ = static_cast<std::int32_t>(e);
    err_line_ = line_;
    err_col_ = static_cast<std::int32_t>(at - line_start_) + 1;
    return false;
  }

  void new_line() {
    ++line_;
    line_start_ = pos_;
  }

  // Skips blanks and "_" line continuations; true if any were skipped.
  bool skip_blanks() {
    std::size_t start = pos_;
    while (pos_ < s_.size()) {
      char16_t c = s_[pos_];
      if (is_blank(c)) {
        ++pos_;
      } else if (c == u'_' && (pos_ + 1 >= s_.size() || !is_ident_char(s_[pos_ + 1]))) {
        std::size_t p = pos_ + 1;
        while (p < s_.size() && is_blank(s_[p])) ++p;
        if (p < s_.size() && s_[p] == u'\r') ++p;
        if (p < s_.size() && s_[p] == u'\n') ++p;
        else if (p < s_.size()) { fail(SyntaxError::syn_invalid_character, pos_); return false; }
        pos_ = p;
        new_line();
      } else {
        break;
      }
    }
    return pos_ != start;
  }

  void skip_to_line_end() {
    while (pos_ < s_.size() && s_[pos_] != u'\n' && s_[pos_] != u'\r') ++pos_;
  }

  bool scan(Token& t) {
    std::size_t start = pos_;
    char16_t c = s_[pos_];
    auto single = [&](Tok k) { t.kind = k; ++pos_; return true; };
    switch (c) {
      case u'\r':
        ++pos_;
        if (pos_ < s_.size() && s_[pos_] == u'\n') ++pos_;
        t.kind = Tok::newline;
        new_line();
        return true;
      case u'\n':
        ++pos_;
        t.kind = Tok::newline;
        new_line();
        return true;
      case u'\'':
        skip_to_line_end();
        t.kind = Tok::identifier;  // dropped by the caller
        t.text = {};
        return true;
      case u':': return single(Tok::colon);
      case u'+': return single(Tok::plus);
      case u'-': return single(Tok::minus);
      case u'*': return single(Tok::star);
      case u'/': return single(Tok::slash);
      case u'\\': return single(Tok::backslash);
      case u'^': return single(Tok::caret);
      case u'=':
        // "=>" and "=<" are accepted spellings of ">=" and "<=".
        ++pos_;
        if (pos_ < s_.size() && s_[pos_] == u'>') { ++pos_; t.kind = Tok::ge; }
        else if (pos_ < s_.size() && s_[pos_] == u'<') { ++pos_; t.kind = Tok::le; }
        else t.kind = Tok::eq;
        return true;
      case u'(': return single(Tok::lparen);
      case u')': return single(Tok::rparen);
      case u',': return single(Tok::comma);
      case u'<':
        ++pos_;
        if (pos_ < s_.size() && s_[pos_] == u'>') { ++pos_; t.kind = Tok::ne; }
        else if (pos_ < s_.size() && s_[pos_] == u'=') { ++pos_; t.kind = Tok::le; }
        else t.kind = Tok::lt;
        return true;
      case u'>':
        ++pos_;
        if (pos_ < s_.size() && s_[pos_] == u'=') { ++pos_; t.kind = Tok::ge; }
        else if (pos_ < s_.size() && s_[pos_] == u'<') { ++pos_; t.kind = Tok::ne; }  // "><"
        else t.kind = Tok::gt;
        return true;
      case u'&':
        if (pos_ + 1 < s_.size() && (s_[pos_ + 1] == u'H' || s_[pos_ + 1] == u'h'))
          return scan_radix(t, 16);
        if (pos_ + 1 < s_.size() && (s_[pos_ + 1] == u'O' || s_[pos_ + 1] == u'o'))
          return scan_radix(t, 8);
        return single(Tok::amp);
      case u'"': return scan_string(t);
      case u'#': return scan_date(t);
      case u'[': {
        std::size_t p = pos_ + 1;
        while (p < s_.size() && s_[p] != u']' && s_[p] != u'\n' && s_[p] != u'\r') ++p;
        if (p >= s_.size() || s_[p] != u']') return fail(SyntaxError::syn_expected_rbracket, p);
        t.kind = Tok::identifier;
        t.text = s_.substr(pos_ + 1, p - pos_ - 1);
        pos_ = p + 1;
        return true;
      }
      case u'.':
        if (pos_ + 1 < s_.size() && is_digit(s_[pos_ + 1])) return scan_number(t);
        return single(Tok::dot);
      default: break;
    }
    if (is_digit(c)) return scan_number(t);
    if (is_letter(c)) {
      while (pos_ < s_.size() && is_ident_char(s_[pos_])) ++pos_;
      std::u16string_view word = s_.substr(start, pos_ - start);
      if (word.size() > max_identifier) return fail(SyntaxError::syn_identifier_too_long, start);
      if (word_is(word, "rem")) {
        skip_to_line_end();
        t.kind = Tok::identifier;
        t.text = {};
        return true;
      }
      t.kind = keyword_or_identifier(word);
      t.text = word;
      return true;
    }
    return fail(SyntaxError::syn_invalid_character, start);
  }

  bool scan_string(Token& t) {
    std::size_t p = pos_ + 1;
    while (true) {
      if (p >= s_.size() || s_[p] == u'\n' || s_[p] == u'\r')
        return fail(SyntaxError::syn_unterminated_string, pos_);
      if (s_[p] == u'"') {
        if (p + 1 < s_.size() && s_[p + 1] == u'"') { p += 2; continue; }
        break;
      }
      ++p;
    }
    t.kind = Tok::string;
    t.text = s_.substr(pos_ + 1, p - pos_ - 1);  // "" still doubled
    pos_ = p + 1;
    return true;
  }

  bool scan_date(Token& t) {
    std::size_t p = pos_ + 1;
    while (p < s_.size() && s_[p] != u'#' && s_[p] != u'\n' && s_[p] != u'\r') ++p;
    if (p >= s_.size() || s_[p] != u'#') return fail(SyntaxError::syn_syntax_error, pos_);
    t.kind = Tok::date;
    t.text = s_.substr(pos_ + 1, p - pos_ - 1);
    pos_ = p + 1;
    return true;
  }

  bool scan_radix(Token& t, int radix) {
    std::size_t start = pos_;
    pos_ += 2;
    std::uint64_t v = 0;
    std::size_t digits = 0;
    while (pos_ < s_.size()) {
      char16_t c = s_[pos_];
      int d;
      if (is_digit(c)) d = c - u'0';
      else if (radix == 16 && c >= u'a' && c <= u'f') d = c - u'a' + 10;
      else if (radix == 16 && c >= u'A' && c <= u'F') d = c - u'A' + 10;
      else break;
      if (d >= radix) return fail(SyntaxError::syn_syntax_error, pos_);
      v = v * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
      if (v > 0xFFFFFFFFu) return fail(SyntaxError::syn_invalid_number, start);
      ++pos_;
      ++digits;
    }
    if (digits == 0) return fail(SyntaxError::syn_syntax_error, start);
    bool suffix = pos_ < s_.size() && s_[pos_] == u'&';
    if (suffix) ++pos_;
    t.kind = Tok::integer;
    t.text = s_.substr(start, pos_ - start);
    // &HFFFF is the Integer -1; past 16 bits the literal is a Long.
    if (v <= 0xFFFF && !suffix) {
      t.number = static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
      t.is_long = false;
    } else {
      t.number = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
      t.is_long = true;
    }
    return true;
  }

  bool scan_number(Token& t) {
    std::size_t start = pos_;
    bool real = false;
    while (pos_ < s_.size() && is_digit(s_[pos_])) ++pos_;
    if (pos_ < s_.size() && s_[pos_] == u'.') {
      real = true;
      ++pos_;
      while (pos_ < s_.size() && is_digit(s_[pos_])) ++pos_;
    }
    if (pos_ < s_.size() && (s_[pos_] == u'e' || s_[pos_] == u'E')) {
      std::size_t p = pos_ + 1;
      if (p < s_.size() && (s_[p] == u'+' || s_[p] == u'-')) ++p;
      if (p < s_.size() && is_digit(s_[p])) {
        real = true;
        while (p < s_.size() && is_digit(s_[p])) ++p;
        pos_ = p;
      }
    }
    std::string ascii;
    for (std::size_t i = start; i < pos_; ++i) ascii.push_back(static_cast<char>(s_[i]));
    double v = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(v)) return fail(SyntaxError::syn_invalid_number, start);
    if (pos_ < s_.size() && is_letter(s_[pos_])) {
      // "1Mod 2" is valid VBScript; only run-ons like "12abc" are not.
      std::size_t p = pos_;
      while (p < s_.size() && is_ident_char(s_[p])) ++p;
      if (keyword_or_identifier(s_.substr(pos_, p - pos_)) == Tok::identifier)
        return fail(SyntaxError::syn_expected_end_of_statement, pos_);
    }
    t.text = s_.substr(start, pos_ - start);
    t.number = v;
    if (!real && v <= 2147483647.0) {
      t.kind = Tok::integer;
      t.is_long = v > 32767.0;
    } else {
      t.kind = Tok::number;
    }
    return true;
  }

  std::u16string_view s_;
  std::size_t pos_ = 0;
  std::size_t line_start_ = 0;
  std::int32_t line_ = 1;
  std::int32_t error_ = 0, err_line_ = 0, err_col_ = 0;
};

}  // namespace

LexResult tokenize(std::u16string_view source) { return Scanner(source).run(); }

}  // namespace tap::vbs
