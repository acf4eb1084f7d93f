// String functions. Positions are 1-based as scripts see them. Functions
// documented to pass Null through return Null; the others raise 94 for it.
// Byte-wise variants (AscB, LeftB, ...) treat a string as UTF-16LE bytes and
// round odd byte counts down to whole characters; strings hold whole
// characters only, so ChrB(n) is the character n.
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/code_page.h"
#include "vbscript/builtins/Builtin.h"
#include "vbscript/builtins/builtin_args.h"
#include "platform/com/case_fold.h"
#include "vbscript/builtins/text_case.h"

namespace tap::vbs {

namespace {

using namespace builtin;
using com::Variant;
using std::u16string;
using std::u16string_view;

constexpr auto npos = u16string_view::npos;

// A count or position argument that must not be negative.
std::size_t count_arg(const Variant& v) {
  std::int32_t n = to_long(v);
  if (n < 0) raise(RuntimeError::invalid_procedure_call);
  return static_cast<std::size_t>(n);
}

// A start position: 1 or more.
std::size_t start_arg(const Variant& v) {
  std::int32_t n = to_long(v);
  if (n < 1) raise(RuntimeError::invalid_procedure_call);
  return static_cast<std::size_t>(n);
}

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
Variant ascb(BuiltinState&, Args a) { return Variant(static_cast<std::int16_t>(first_char(a[0]) & 0xFF)); }
Variant ascw(BuiltinState&, Args a) { return Variant(static_cast<std::int16_t>(first_char(a[0]))); }

Variant chr(BuiltinState&, Args a) {
  std::int32_t code = to_long(a[0]);
  if (code < 0 || code > 255) raise(RuntimeError::invalid_procedure_call);
  char byte = static_cast<char>(code);
  return Variant(os::ansi_to_wide(std::string_view(&byte, 1)));
}
Variant chrb(BuiltinState&, Args a) {
  std::int32_t code = to_long(a[0]);
  if (code < 0 || code > 255) raise(RuntimeError::invalid_procedure_call);
  return Variant(u16string(1, static_cast<char16_t>(code)));
}
Variant chrw(BuiltinState&, Args a) {
  std::int32_t code = to_long(a[0]);
  if (code < -32768 || code > 65535) raise(RuntimeError::invalid_procedure_call);
  return Variant(u16string(1, static_cast<char16_t>(code & 0xFFFF)));
}

// InStr([start, ]string1, string2[, compare])
Variant instr(BuiltinState&, Args a) {
  std::size_t start = 1;
  std::size_t first = 0;
  bool text = false;
  if (a.size() >= 3) {
    if (given(a, 0)) start = start_arg(a[0]);
    text = text_compare_arg(a, 3);
    first = 1;
  }
  const Variant& hay_v = a[first];
  const Variant& needle_v = a[first + 1];
  if (hay_v.is_null() || needle_v.is_null()) return Variant::null();
  com::BStr hay = to_text(hay_v), needle = to_text(needle_v);
  if (hay.empty() || start > hay.size()) return Variant(std::int32_t{0});
  if (needle.empty()) return Variant(static_cast<std::int32_t>(start));
  std::size_t at = find_text(hay.view(), needle.view(), start - 1, text);
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
  return Variant(lower_text(to_text(a[0]).view()));
}
Variant ucase(BuiltinState&, Args a) {
  if (a[0].is_null()) return Variant::null();
  return Variant(upper_text(to_text(a[0]).view()));
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
Variant leftb(BuiltinState&, Args a) { return left_chars(a[0], count_arg(a[1]) / 2); }
Variant rightb(BuiltinState&, Args a) { return right_chars(a[0], count_arg(a[1]) / 2); }
Variant midb(BuiltinState&, Args a) {
  std::size_t start = start_arg(a[1]);
  std::size_t n = given(a, 2) ? count_arg(a[2]) / 2 : npos;
  return mid_chars(a[0], (start - 1) / 2 + 1, n);
}

Variant len(BuiltinState&, Args a) {
  if (a[0].is_null()) return Variant::null();
  return Variant(static_cast<std::int32_t>(to_text(a[0]).size()));
}
Variant lenb(BuiltinState&, Args a) {
  if (a[0].is_null()) return Variant::null();
  return Variant(static_cast<std::int32_t>(to_text(a[0]).size() * 2));
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
  std::size_t pos = 0;
  for (std::int32_t done = 0; count == -1 || done < count; ++done) {
    std::size_t at = find_text(s, find.view(), pos, text);
    if (at == npos) break;
    out.append(s.substr(pos, at - pos)).append(with.view());
    check_length(out.size());
    pos = at + find.size();
  }
  out.append(s.substr(pos));
  return text_result(std::move(out));
}

Variant space(BuiltinState&, Args a) {
  std::size_t n = count_arg(a[0]);
  check_length(n);
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
  std::size_t pos = 0;
  while (limit == -1 || parts.size() + 1 < static_cast<std::size_t>(limit)) {
    std::size_t at = find_text(s, delim.view(), pos, text);
    if (at == npos) break;
    parts.emplace_back(u16string(s.substr(pos, at - pos)));
    pos = at + delim.size();
  }
  parts.emplace_back(u16string(s.substr(pos)));
  return make_array(std::move(parts));
}

Variant join(BuiltinState&, Args a) {
  const com::SafeArray& list = vector_arg(a[0]);
  com::BStr delim = given(a, 1) ? to_text(a[1]) : com::BStr(u" ");
  u16string out;
  bool first = true;
  for (const Variant& item : list.data()) {
    if (!first) out.append(delim.view());
    first = false;
    out.append(to_text(item.deref()).view());
    check_length(out.size());
  }
  return Variant(std::move(out));
}

// Filter(strings, value[, include[, compare]])
Variant filter(BuiltinState&, Args a) {
  const com::SafeArray& list = vector_arg(a[0]);
  com::BStr value = to_text(a[1]);
  bool include = given(a, 2) ? to_boolean(a[2]) : true;
  bool text = text_compare_arg(a, 3);
  std::vector<Variant> kept;
  for (const Variant& item : list.data()) {
    com::BStr s = to_text(item.deref());
    bool found = find_text(s.view(), value.view(), 0, text) != npos;
    if (found == include) kept.emplace_back(s);
  }
  return make_array(std::move(kept));
}

constexpr Builtin kStrings[] = {
    {u"Asc", 1, 1, asc},           {u"AscB", 1, 1, ascb},         {u"AscW", 1, 1, ascw},
    {u"Chr", 1, 1, chr},           {u"ChrB", 1, 1, chrb},         {u"ChrW", 1, 1, chrw},
    {u"InStr", 2, 4, instr},       {u"InStrRev", 2, 4, instrrev}, {u"LCase", 1, 1, lcase},
    {u"UCase", 1, 1, ucase},       {u"Left", 2, 2, left},         {u"Right", 2, 2, right},
    {u"Mid", 2, 3, mid},           {u"LeftB", 2, 2, leftb},       {u"RightB", 2, 2, rightb},
    {u"MidB", 2, 3, midb},         {u"Len", 1, 1, len},           {u"LenB", 1, 1, lenb},
    {u"LTrim", 1, 1, ltrim},       {u"RTrim", 1, 1, rtrim},       {u"Trim", 1, 1, trim},
    {u"Replace", 3, 6, replace},   {u"Space", 1, 1, space},       {u"String", 2, 2, string},
    {u"StrComp", 2, 3, strcomp},   {u"StrReverse", 1, 1, strreverse},
    {u"Split", 1, 4, split},       {u"Join", 1, 2, join},         {u"Filter", 2, 4, filter},
};

}  // namespace

std::span<const Builtin> string_builtins() { return kStrings; }

}  // namespace tap::vbs
