// String functions. Positions are 1-based as scripts see them. Functions
// documented to pass Null through return Null; the others raise 94 for it.
// The byte-wise variants (AscB, LeftB, ...) are in ByteStringBuiltins.
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/code_page.h"
#include "vbscript/builtins/Builtin.h"
#include "vbscript/builtins/builtin_args.h"
#include "platform/com/case_fold.h"
#include "vbscript/builtins/text_case.h"
#include "vbscript/vm/calls.h"

namespace tap::vbs {

namespace {

using namespace builtin;
using com::Variant;
using std::u16string;
using std::u16string_view;

constexpr auto npos = u16string_view::npos;

char16_t first_char(const Variant& v) {
  com::BStr s = to_text(v);
  if (s.empty()) raise(RuntimeError::invalid_procedure_call);
  return s[0];
}

Variant asc(BuiltinState&, Args a) {
  char16_t c = first_char(a[0]);
  if (c < 0x80) return Variant(static_cast<std::int16_t>(c));
  std::string bytes = os::wide_to_ansi(u16string_view(&c, 1));
  return Variant(static_cast<std::int16_t>(static_cast<unsigned char>(bytes.empty() ? '?' : bytes[0])));
}
Variant ascw(BuiltinState&, Args a) { return Variant(static_cast<std::int16_t>(first_char(a[0]))); }

Variant chr(BuiltinState&, Args a) {
  std::int32_t code = to_long(a[0]);
  if (code < 0 || code > 255) raise(RuntimeError::invalid_procedure_call);
  char byte = static_cast<char>(code);
  return Variant(os::ansi_to_wide(std::string_view(&byte, 1)));
}
Variant chrw(BuiltinState&, Args a) {
  std::int32_t code = to_long(a[0]);
  if (code < -32768 || code > 65535) raise(RuntimeError::invalid_procedure_call);
  return Variant(u16string(1, static_cast<char16_t>(code & 0xFFFF)));
}

// InStr([start, ]string1, string2[, compare])
Variant instr(BuiltinState&, Args a) {
  const InStrArgs in = instr_args(a);
  if (in.haystack->is_null() || in.needle->is_null()) return Variant::null();
  com::BStr hay = to_text(*in.haystack), needle = to_text(*in.needle);
  if (hay.empty() || in.start > hay.size()) return Variant(std::int32_t{0});
  if (needle.empty()) return Variant(static_cast<std::int32_t>(in.start));
  std::size_t at = find_text(hay.view(), needle.view(), in.start - 1, in.text);
  return Variant(static_cast<std::int32_t>(at == npos ? 0 : at + 1));
}

// InStrRev(string1, string2[, start[, compare]]); start -1 means the end.
Variant instrrev(BuiltinState&, Args a) {
  std::int32_t start = optional_long(a, 2, -1);
  if (start == 0 || start < -1) raise(RuntimeError::invalid_procedure_call);
  bool text = text_compare_arg(a, 3);
  if (a[0].is_null() || a[1].is_null()) return Variant::null();
  com::BStr hay = to_text(a[0]), needle = to_text(a[1]);
  std::size_t end = start == -1 ? hay.size() : static_cast<std::size_t>(start);
  if (hay.empty() || end > hay.size()) return Variant(std::int32_t{0});
  if (needle.empty()) return Variant(static_cast<std::int32_t>(end));
  std::size_t at = rfind_text(hay.view(), needle.view(), end, text);
  return Variant(static_cast<std::int32_t>(at == npos ? 0 : at + 1));
}

Variant lcase(BuiltinState&, Args a) {
  if (a[0].is_null()) return Variant::null();
  com::BStr text = to_text(a[0]);
  Work().chars(text.size());
  return Variant(lower_text(text.view()));
}
Variant ucase(BuiltinState&, Args a) {
  if (a[0].is_null()) return Variant::null();
  com::BStr text = to_text(a[0]);
  Work().chars(text.size());
  return Variant(upper_text(text.view()));
}

Variant left_chars(const Variant& s, std::size_t n) {
  if (s.is_null()) return Variant::null();
  return Variant(u16string(to_text(s).view().substr(0, n)));
}
Variant right_chars(const Variant& s, std::size_t n) {
  if (s.is_null()) return Variant::null();
  com::BStr text = to_text(s);
  u16string_view v = text.view();
  return Variant(u16string(v.substr(v.size() - (n < v.size() ? n : v.size()))));
}
Variant mid_chars(const Variant& s, std::size_t start, std::size_t n) {
  if (s.is_null()) return Variant::null();
  com::BStr text = to_text(s);
  u16string_view v = text.view();
  if (start > v.size()) return Variant(u16string());
  return Variant(u16string(v.substr(start - 1, n)));
}

Variant left(BuiltinState&, Args a) { return left_chars(a[0], count_arg(a[1])); }
Variant right(BuiltinState&, Args a) { return right_chars(a[0], count_arg(a[1])); }
Variant mid(BuiltinState&, Args a) {
  std::size_t start = start_arg(a[1]);
  std::size_t n = given(a, 2) ? count_arg(a[2]) : npos;
  return mid_chars(a[0], start, n);
}

Variant len(BuiltinState&, Args a) {
  if (a[0].is_null()) return Variant::null();
  return Variant(static_cast<std::int32_t>(to_text(a[0]).size()));
}

Variant trimmed(const Variant& v, bool front, bool back) {
  if (v.is_null()) return Variant::null();
  com::BStr text = to_text(v);
  u16string_view s = text.view();
  std::size_t b = 0, e = s.size();
  while (front && b < e && s[b] == u' ') ++b;
  while (back && e > b && s[e - 1] == u' ') --e;
  return Variant(u16string(s.substr(b, e - b)));
}
Variant ltrim(BuiltinState&, Args a) { return trimmed(a[0], true, false); }
Variant rtrim(BuiltinState&, Args a) { return trimmed(a[0], false, true); }
Variant trim(BuiltinState&, Args a) { return trimmed(a[0], true, true); }

// Replace(expression, find, replacewith[, start[, count[, compare]]]): the
// result begins at start.
Variant replace(BuiltinState&, Args a) {
  com::BStr expr = to_text(a[0]), find = to_text(a[1]), with = to_text(a[2]);
  std::size_t start = given(a, 3) ? start_arg(a[3]) : 1;
  std::int32_t count = optional_long(a, 4, -1);
  if (count < -1) raise(RuntimeError::invalid_procedure_call);
  bool text = text_compare_arg(a, 5);
  u16string_view s = expr.view();
  if (start > s.size()) return Variant(u16string());
  s = s.substr(start - 1);
  if (find.empty() || count == 0) return Variant(u16string(s));
  u16string out;
  Work work;
  std::size_t pos = 0;
  for (std::int32_t done = 0; count == -1 || done < count; ++done) {
    std::size_t at = find_text(s, find.view(), pos, text);
    if (at == npos) break;
    out.append(s.substr(pos, at - pos)).append(with.view());
    check_length(out.size());
    work.chars(at - pos + with.size());
    work.holds(out.capacity() * sizeof(char16_t));
    pos = at + find.size();
  }
  out.append(s.substr(pos));
  work.release();
  return text_result(std::move(out));
}

Variant space(BuiltinState&, Args a) {
  std::size_t n = count_arg(a[0]);
  check_length(n);
  Work().chars(n);
  return Variant(u16string(n, u' '));
}

// String(number, character): character is text (its first character) or a
// character code taken modulo 256.
Variant string(BuiltinState&, Args a) {
  if (a[0].is_null() || a[1].is_null()) return Variant::null();
  std::size_t n = count_arg(a[0]);
  char16_t c;
  if (a[1].vt() == com::VT_BSTR) {
    c = first_char(a[1]);
  } else {
    std::int32_t code = to_long(a[1]);
    char byte = static_cast<char>(code & 0xFF);
    c = os::ansi_to_wide(std::string_view(&byte, 1))[0];
  }
  check_length(n);
  Work().chars(n);
  return Variant(u16string(n, c));
}

Variant strcomp(BuiltinState&, Args a) {
  bool text = text_compare_arg(a, 2);
  if (a[0].is_null() || a[1].is_null()) return Variant::null();
  int r = com::compare_text(to_text(a[0]).view(), to_text(a[1]).view(), text);
  return Variant(static_cast<std::int16_t>((r > 0) - (r < 0)));
}

Variant strreverse(BuiltinState&, Args a) {
  u16string s(to_text(a[0]).view());
  Work().chars(s.size());
  return Variant(u16string(s.rbegin(), s.rend()));
}

// Split(expression[, delimiter[, limit[, compare]]]): the last element
// holds the rest of the text once limit elements are reached.
Variant split(BuiltinState&, Args a) {
  com::BStr expr = to_text(a[0]);
  com::BStr delim = given(a, 1) ? to_text(a[1]) : com::BStr(u" ");
  std::int32_t limit = optional_long(a, 2, -1);
  if (limit < -1) raise(RuntimeError::invalid_procedure_call);
  bool text = text_compare_arg(a, 3);
  std::vector<Variant> parts;
  u16string_view s = expr.view();
  if (s.empty() || limit == 0) return make_array({});
  if (delim.empty()) return make_array({Variant(u16string(s))});
  Work work;
  std::size_t pos = 0;
  while (limit == -1 || parts.size() + 1 < static_cast<std::size_t>(limit)) {
    std::size_t at = find_text(s, delim.view(), pos, text);
    if (at == npos) break;
    if (parts.size() >= max_array_elements) raise(RuntimeError::out_of_memory);
    parts.emplace_back(u16string(s.substr(pos, at - pos)));
    work.chars(at - pos);
    work.holds(parts.capacity() * sizeof(Variant));
    pos = at + delim.size();
  }
  parts.emplace_back(u16string(s.substr(pos)));
  return make_array(std::move(parts));
}

Variant join(BuiltinState&, Args a) {
  const com::SafeArray& list = vector_arg(a[0]);
  com::BStr delim = given(a, 1) ? to_text(a[1]) : com::BStr(u" ");
  u16string out;
  Work work;
  bool first = true;
  for (const Variant& item : list.data()) {
    if (!first) out.append(delim.view());
    first = false;
    com::BStr piece = to_text(item.deref());
    out.append(piece.view());
    check_length(out.size());
    work.chars(piece.size() + delim.size());
    work.holds(out.capacity() * sizeof(char16_t));
  }
  work.release();
  return Variant(std::move(out));
}

// Filter(strings, value[, include[, compare]])
Variant filter(BuiltinState&, Args a) {
  const com::SafeArray& list = vector_arg(a[0]);
  com::BStr value = to_text(a[1]);
  bool include = given(a, 2) ? to_boolean(a[2]) : true;
  bool text = text_compare_arg(a, 3);
  std::vector<Variant> kept;
  Work work;
  for (const Variant& item : list.data()) {
    com::BStr s = to_text(item.deref());
    work.chars(s.size());
    work.holds(kept.capacity() * sizeof(Variant));
    bool found = find_text(s.view(), value.view(), 0, text) != npos;
    if (found == include) kept.emplace_back(s);
  }
  return make_array(std::move(kept));
}

// Escape(string): letters, digits and @*_+-./ stay; every other character
// becomes %XX, or %uXXXX above 255 (upper-case hex digits).
Variant escape(BuiltinState&, Args a) {
  com::BStr text = to_text(a[0]);
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  static constexpr std::u16string_view kKept = u"@*_+-./";
  u16string out;
  Work().chars(text.size() * 6);
  for (char16_t c : text.view()) {
    bool alnum = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    if (alnum || kKept.find(c) != npos) {
      out.push_back(c);
      continue;
    }
    out.push_back(u'%');
    int digits = 2;
    if (c > 0xFF) {
      out.push_back(u'u');
      digits = 4;
    }
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out.push_back(kHex[(c >> shift) & 0xF]);
    check_length(out.size());
  }
  return Variant(std::move(out));
}

int hex_digit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// The value of `count` hex digits at s[at], or -1 when they are not all there.
std::int32_t hex_at(u16string_view s, std::size_t at, std::size_t count) {
  if (at + count > s.size()) return -1;
  std::int32_t v = 0;
  for (std::size_t i = 0; i < count; ++i) {
    int d = hex_digit(s[at + i]);
    if (d < 0) return -1;
    v = v * 16 + d;
  }
  return v;
}

// Unescape(string): %XX and %uXXXX become their characters; a % that starts
// neither stays as it is.
Variant unescape(BuiltinState&, Args a) {
  com::BStr text = to_text(a[0]);
  u16string_view s = text.view();
  u16string out;
  Work().chars(s.size());
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'%') {
      std::int32_t wide = i + 1 < s.size() && s[i + 1] == u'u' ? hex_at(s, i + 2, 4) : -1;
      if (wide >= 0) {
        out.push_back(static_cast<char16_t>(wide));
        i += 5;
        continue;
      }
      std::int32_t narrow = hex_at(s, i + 1, 2);
      if (narrow >= 0) {
        out.push_back(static_cast<char16_t>(narrow));
        i += 2;
        continue;
      }
    }
    out.push_back(s[i]);
  }
  return Variant(std::move(out));
}

constexpr Builtin kStrings[] = {
    {u"Asc", 1, 1, asc},           {u"AscW", 1, 1, ascw},         {u"Chr", 1, 1, chr},
    {u"ChrW", 1, 1, chrw},         {u"InStr", 2, 4, instr},       {u"InStrRev", 2, 4, instrrev},
    {u"LCase", 1, 1, lcase},       {u"UCase", 1, 1, ucase},       {u"Left", 2, 2, left},
    {u"Right", 2, 2, right},       {u"Mid", 2, 3, mid},           {u"Len", 1, 1, len},
    {u"LTrim", 1, 1, ltrim},       {u"RTrim", 1, 1, rtrim},       {u"Trim", 1, 1, trim},
    {u"Replace", 3, 6, replace},   {u"Space", 1, 1, space},       {u"String", 2, 2, string},
    {u"StrComp", 2, 3, strcomp},   {u"StrReverse", 1, 1, strreverse},
    {u"Split", 1, 4, split},       {u"Join", 1, 2, join},         {u"Filter", 2, 4, filter},
    {u"Escape", 1, 1, escape},     {u"Unescape", 1, 1, unescape},
};

}  // namespace

std::span<const Builtin> string_builtins() { return kStrings; }

}  // namespace tap::vbs
