#include "platform/regex/PatternTranslator.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tap::regex {
namespace {

// PCRE2 refuses deeper nesting; failing here gives the VBScript status.
constexpr int kMaxDepth = 200;
constexpr std::uint32_t kMaxRepeat = 65535;
constexpr std::u16string_view kCheckpoint = u"(?C2)";
constexpr std::size_t kNoGroup = static_cast<std::size_t>(-1);

struct Failure {
  RegexStatus status;
  std::size_t offset;
};

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool is_octal(char16_t c) { return c >= u'0' && c <= u'7'; }
bool is_letter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
int hex_value(char16_t c) {
  if (is_digit(c)) return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// One element of a bracket expression: a character, or a class escape
// (\d \D \w \W \s \S) emitted as PCRE2's own, which has the same ASCII sets.
struct ClassAtom {
  std::uint32_t ch = 0;
  char16_t set = 0;  // 'd', 'D', ... or 0 for a character
};

class Translator {
 public:
  Translator(std::u16string_view p, bool multiline) : p_(p), multiline_(multiline) {}

  TranslateResult run() {
    TranslateResult r;
    try {
      disjunction(0);
      if (pos_ < p_.size()) fail(RegexStatus::syntax, pos_);  // an unmatched ')'
      r.pcre = std::move(out_);
      r.group_count = groups_;
    } catch (const Failure& f) {
      r.status = f.status;
      r.offset = f.offset;
    }
    return r;
  }

 private:
  [[noreturn]] static void fail(RegexStatus s, std::size_t at) { throw Failure{s, at}; }
  bool at_end() const { return pos_ >= p_.size(); }
  char16_t peek(std::size_t ahead = 0) const {
    return pos_ + ahead < p_.size() ? p_[pos_ + ahead] : char16_t(0);
  }

  // disjunction := alternative ('|' alternative)*
  void disjunction(int depth) {
    alternative(depth);
    while (!at_end() && peek() == u'|') {
      ++pos_;
      out_ += u'|';
      alternative(depth);
    }
  }

  // alternative := term*        (ends at '|', ')' or the end)
  void alternative(int depth) {
    while (!at_end() && peek() != u'|' && peek() != u')') term(depth);
  }

  // term := assertion | atom quantifier?
  // assertion := '^' | '$' | '\b' | '\B' | '(?=' disjunction ')' | '(?!' disjunction ')'
  void term(int depth) {
    const std::size_t start = pos_;
    const char16_t c = peek();
    if (c == u'^') {
      ++pos_;
      out_ += multiline_ ? u"(?<![^\\n\\r])" : u"^";
      no_quantifier();
      return;
    }
    if (c == u'$') {
      ++pos_;
      out_ += multiline_ ? u"(?![^\\n\\r])" : u"\\z";
      no_quantifier();
      return;
    }
    if (c == u'\\' && (peek(1) == u'b' || peek(1) == u'B')) {
      out_ += u'\\';
      out_ += peek(1);
      pos_ += 2;
      no_quantifier();
      return;
    }
    if (c == u'(' && peek(1) == u'?' && (peek(2) == u'=' || peek(2) == u'!')) {
      out_ += u"(?";
      out_ += peek(2);
      pos_ += 3;
      group_body(depth, start);
      no_quantifier();
      return;
    }
    const std::size_t body_at = atom(depth);
    quantifier(body_at);
  }

  void no_quantifier() {
    if (!at_end() && quantifier_length() > 0) fail(RegexStatus::unexpected_quantifier, pos_);
  }

  // The length of the quantifier at pos_ ('*', '+', '?' or a valid brace
  // form), 0 if there is none. Sets the bounds of a brace form.
  std::size_t quantifier_length(std::uint32_t* lo = nullptr, std::optional<std::uint32_t>* hi = nullptr) const {
    const char16_t c = peek();
    if (c == u'*' || c == u'+' || c == u'?') return 1;
    if (c != u'{') return 0;
    std::size_t i = pos_ + 1;
    auto number = [&](std::uint64_t& v) {
      const std::size_t from = i;
      v = 0;
      while (i < p_.size() && is_digit(p_[i])) {
        v = std::min<std::uint64_t>(v * 10 + (p_[i] - u'0'), std::uint64_t(kMaxRepeat) + 1);
        ++i;
      }
      return i > from;
    };
    std::uint64_t a = 0, b = 0;
    if (!number(a)) return 0;
    bool bounded = true, comma = false;
    if (i < p_.size() && p_[i] == u',') {
      comma = true;
      ++i;
      bounded = number(b);
    }
    if (i >= p_.size() || p_[i] != u'}') return 0;
    if (lo) *lo = static_cast<std::uint32_t>(a);
    if (hi) *hi = !comma ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(a))
                  : bounded ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(b))
                            : std::nullopt;
    return i + 1 - pos_;
  }

  // quantifier := ('*' | '+' | '?' | '{' n '}' | '{' n ',}' | '{' n ',' m '}') '?'?
  // A second quantifier right after one (a++, a*{2}) is not VBScript syntax.
  void quantifier(std::size_t group_body_at) {
    if (at_end()) return;
    std::uint32_t lo = 0;
    std::optional<std::uint32_t> hi;
    const std::size_t len = quantifier_length(&lo, &hi);
    if (len == 0) return;
    if (peek() == u'?') hi = 1;
    const std::size_t start = pos_;
    if (peek() == u'{') {
      if (lo > kMaxRepeat || (hi && *hi > kMaxRepeat)) fail(RegexStatus::syntax, start);
      if (hi && *hi < lo) fail(RegexStatus::syntax, start);
      out_ += u'{';
      append_number(lo);
      if (!hi || *hi != lo || p_.substr(pos_, len).find(u',') != std::u16string_view::npos) {
        out_ += u',';
        if (hi) append_number(*hi);
      }
      out_ += u'}';
    } else {
      out_ += peek();
    }
    pos_ += len;
    if (!at_end() && peek() == u'?') {
      out_ += u'?';
      ++pos_;
    }
    // Backtracking into a repeat re-runs what follows it, and a repeated
    // group descends without passing what follows it: checkpoints after the
    // repeat and at the start of the group's body let the search's time
    // limit interrupt one start position. A '?' cannot repeat, so it needs
    // none, which keeps short searches fast.
    if (!hi || *hi > 1) {
      if (group_body_at != kNoGroup) out_.insert(group_body_at, kCheckpoint);
      out_ += kCheckpoint;
    }
    no_quantifier();
  }

  // atom := '.' | '(' disjunction ')' | '(?:' disjunction ')' | '[' class ']'
  //       | '\' atom_escape | any other character
  // Returns where a group's body starts in the output, else kNoGroup.
  std::size_t atom(int depth) {
    const std::size_t start = pos_;
    const char16_t c = peek();
    switch (c) {
      case u'*':
      case u'+':
      case u'?':
        fail(RegexStatus::unexpected_quantifier, start);
      case u'{':
        if (quantifier_length() > 0) fail(RegexStatus::unexpected_quantifier, start);
        ++pos_;
        literal(c);
        return kNoGroup;
      case u'.':
        ++pos_;
        out_ += u"[^\\n]";
        return kNoGroup;
      case u'(':
        if (peek(1) == u'?') {
          if (peek(2) != u':') fail(RegexStatus::syntax, start + 1);  // (?<= (?i) (?<name> ...
          out_ += u"(?:";
          pos_ += 3;
        } else {
          out_ += u'(';
          ++groups_;
          ++pos_;
        }
        {
          const std::size_t body_at = out_.size();
          group_body(depth, start);
          return body_at;
        }
      case u'[':
        bracket();
        return kNoGroup;
      case u'\\':
        atom_escape();
        return kNoGroup;
      default:
        ++pos_;
        literal(next_code_point(c, start));
        return kNoGroup;
    }
  }

  // The rest of a group after its opening: disjunction ')'.
  void group_body(int depth, std::size_t open_at) {
    if (depth + 1 > kMaxDepth) fail(RegexStatus::syntax, open_at);
    disjunction(depth + 1);
    if (at_end()) fail(RegexStatus::expected_paren, pos_);
    ++pos_;
    out_ += u')';
  }

  // A pattern character, joining a surrogate pair into one code point (the
  // compiled pattern is UTF-16); a lone surrogate cannot be expressed.
  std::uint32_t next_code_point(char16_t c, std::size_t at) {
    if (c >= 0xD800 && c <= 0xDBFF && !at_end() && peek() >= 0xDC00 && peek() <= 0xDFFF) {
      const char16_t low = peek();
      ++pos_;
      return 0x10000 + ((std::uint32_t(c) - 0xD800) << 10) + (low - 0xDC00);
    }
    if (c >= 0xD800 && c <= 0xDFFF) fail(RegexStatus::syntax, at);
    return c;
  }

  // atom_escape := decimal_escape | class_escape | character_escape
  void atom_escape() {
    const std::size_t start = pos_;
    ++pos_;  // the backslash
    if (at_end()) fail(RegexStatus::syntax, start);
    const char16_t c = peek();
    if (is_digit(c) && c != u'0') {
      if (const auto n = back_reference()) {
        out_ += u"\\g{";
        append_number(*n);
        out_ += u'}';
        return;
      }
    }
    ClassAtom a = escaped_atom(start, false);
    if (a.set) {
      out_ += u'\\';
      out_ += a.set;
    } else {
      literal(a.ch);
    }
  }

  // decimal_escape as a back-reference: the longest prefix of the digits
  // (at most two) not above the number of groups opened so far.
  std::optional<unsigned> back_reference() {
    const unsigned d1 = peek() - u'0';
    if (is_digit(peek(1))) {
      const unsigned two = d1 * 10 + (peek(1) - u'0');
      if (two <= groups_) {
        pos_ += 2;
        return two;
      }
    }
    if (d1 <= groups_) {
      ++pos_;
      return d1;
    }
    return std::nullopt;
  }

  // The escapes shared by atoms and bracket expressions; pos_ is just
  // after the backslash. Inside brackets \b is a backspace.
  ClassAtom escaped_atom(std::size_t start, bool in_class) {
    if (at_end()) fail(RegexStatus::syntax, start);
    const char16_t c = peek();
    ++pos_;
    switch (c) {
      case u'd': case u'D': case u'w': case u'W': case u's': case u'S':
        return ClassAtom{0, c};
      case u'f': return ClassAtom{0x0C};
      case u'n': return ClassAtom{0x0A};
      case u'r': return ClassAtom{0x0D};
      case u't': return ClassAtom{0x09};
      case u'v': return ClassAtom{0x0B};
      case u'b':
        if (in_class) return ClassAtom{0x08};
        break;
      case u'c':
        if (is_letter(peek())) return ClassAtom{std::uint32_t(p_[pos_++] % 32)};
        return ClassAtom{u'c'};
      case u'x':
        if (const int v = hex_digits(2); v >= 0) return ClassAtom{std::uint32_t(v)};
        return ClassAtom{u'x'};
      case u'u':
        if (const int v = hex_digits(4); v >= 0) {
          if (v >= 0xD800 && v <= 0xDFFF) fail(RegexStatus::syntax, start);
          return ClassAtom{std::uint32_t(v)};
        }
        return ClassAtom{u'u'};
      default:
        break;
    }
    if (is_octal(c)) {
      --pos_;
      return ClassAtom{octal()};
    }
    return ClassAtom{next_code_point(c, pos_ - 1)};
  }

  // Exactly n hex digits at pos_ (consumed) or -1 (nothing consumed).
  int hex_digits(int n) {
    int v = 0;
    for (int i = 0; i < n; ++i) {
      const int h = hex_value(peek(i));
      if (h < 0) return -1;
      v = v * 16 + h;
    }
    pos_ += n;
    return v;
  }

  // octal := [0-3][0-7][0-7] | [0-7][0-7]? ; a third digit is taken only
  // while the value stays below 256 (\400 is \40 followed by "0").
  std::uint32_t octal() {
    std::uint32_t v = 0;
    for (int i = 0; i < 3 && is_octal(peek()); ++i) {
      const std::uint32_t next = v * 8 + (peek() - u'0');
      if (next > 0xFF) break;
      v = next;
      ++pos_;
    }
    return v;
  }

  // bracket := '[' '^'? (class_atom ('-' class_atom)?)* ']'
  void bracket() {
    const std::size_t open_at = pos_;
    ++pos_;
    const bool negated = peek() == u'^' && !at_end();
    if (negated) ++pos_;
    std::u16string body;
    while (true) {
      if (at_end()) fail(RegexStatus::expected_bracket, open_at);
      if (peek() == u']') break;
      const std::size_t atom_at = pos_;
      const ClassAtom a = class_atom();
      if (peek() == u'-' && pos_ + 1 < p_.size() && p_[pos_ + 1] != u']') {
        ++pos_;
        const ClassAtom b = class_atom();
        if (!a.set && !b.set) {
          if (b.ch < a.ch) fail(RegexStatus::invalid_range, atom_at);
          append_class_char(body, a.ch);
          body += u'-';
          append_class_char(body, b.ch);
          continue;
        }
        // A class escape at either end: the '-' is itself a member.
        append_class_atom(body, a);
        append_class_char(body, u'-');
        append_class_atom(body, b);
        continue;
      }
      append_class_atom(body, a);
    }
    ++pos_;  // ']'
    if (body.empty()) {
      out_ += negated ? u"[\\x{0}-\\x{10ffff}]" : u"(?:(?!))";
      return;
    }
    out_ += negated ? u"[^" : u"[";
    out_ += body;
    out_ += u']';
  }

  ClassAtom class_atom() {
    const std::size_t start = pos_;
    const char16_t c = peek();
    ++pos_;
    if (c != u'\\') return ClassAtom{next_code_point(c, start)};
    if (is_digit(peek()) && !is_octal(peek())) return ClassAtom{p_[pos_++]};  // \8 \9
    return escaped_atom(start, true);
  }

  void append_class_atom(std::u16string& body, const ClassAtom& a) {
    if (a.set) {
      body += u'\\';
      body += a.set;
    } else {
      append_class_char(body, a.ch);
    }
  }

  static bool plain(std::uint32_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
  }

  static void append_hex(std::u16string& s, std::uint32_t c) {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    s += u"\\x{";
    bool started = false;
    for (int shift = 20; shift >= 0; shift -= 4) {
      const unsigned d = (c >> shift) & 0xF;
      if (d || started || shift == 0) {
        s += kDigits[d];
        started = true;
      }
    }
    s += u'}';
  }

  static void append_class_char(std::u16string& body, std::uint32_t c) {
    if (plain(c)) body += static_cast<char16_t>(c);
    else append_hex(body, c);
  }

  void literal(std::uint32_t c) {
    if (plain(c)) out_ += static_cast<char16_t>(c);
    else append_hex(out_, c);
  }

  void append_number(std::uint32_t n) {
    const std::string digits = std::to_string(n);
    out_.append(digits.begin(), digits.end());
  }

  std::u16string_view p_;
  bool multiline_;
  std::size_t pos_ = 0;
  unsigned groups_ = 0;
  std::u16string out_;
};

}  // namespace

TranslateResult translate_pattern(std::u16string_view pattern, bool multiline) {
  return Translator(pattern, multiline).run();
}

}  // namespace tap::regex
