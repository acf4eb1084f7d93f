// Byte-wise string functions (AscB, ChrB, LenB, LeftB, RightB, MidB,
// InStrB). A string counts as its UTF-16LE bytes, two per character.
// Strings hold whole characters only: byte counts and positions that would
// split a character round down to whole characters, and ChrB(n) is the
// character n. InStrB searches the bytes themselves, so it can report an
// odd position.
#include <string>
#include <string_view>

#include "vbscript/builtins/Builtin.h"
#include "vbscript/builtins/builtin_args.h"
#include "vbscript/builtins/text_case.h"

namespace tap::vbs {

namespace {

using namespace builtin;
using com::Variant;
using std::u16string;
using std::u16string_view;

Variant ascb(BuiltinState&, Args a) {
  com::BStr s = to_text(a[0]);
  if (s.empty()) raise(RuntimeError::invalid_procedure_call);
  return Variant(static_cast<std::int16_t>(s[0] & 0xFF));
}

Variant chrb(BuiltinState&, Args a) {
  std::int32_t code = to_long(a[0]);
  if (code < 0 || code > 255) raise(RuntimeError::invalid_procedure_call);
  return Variant(u16string(1, static_cast<char16_t>(code)));
}

Variant lenb(BuiltinState&, Args a) {
  if (a[0].is_null()) return Variant::null();
  return Variant(static_cast<std::int32_t>(to_text(a[0]).size() * 2));
}

Variant leftb(BuiltinState&, Args a) {
  std::size_t chars = count_arg(a[1]) / 2;
  if (a[0].is_null()) return Variant::null();
  return Variant(u16string(to_text(a[0]).view().substr(0, chars)));
}

Variant rightb(BuiltinState&, Args a) {
  std::size_t chars = count_arg(a[1]) / 2;
  if (a[0].is_null()) return Variant::null();
  com::BStr text = to_text(a[0]);
  u16string_view v = text.view();
  return Variant(u16string(v.substr(v.size() - (chars < v.size() ? chars : v.size()))));
}

Variant midb(BuiltinState&, Args a) {
  std::size_t first = (start_arg(a[1]) - 1) / 2;
  std::size_t chars = given(a, 2) ? count_arg(a[2]) / 2 : u16string_view::npos;
  if (a[0].is_null()) return Variant::null();
  com::BStr text = to_text(a[0]);
  u16string_view v = text.view();
  if (first >= v.size()) return Variant(u16string());
  return Variant(u16string(v.substr(first, chars)));
}

std::string bytes_of(u16string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  for (char16_t c : s) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

// InStrB([start, ]string1, string2[, compare]): as InStr, with start and the
// result counted in bytes. A text comparison folds case before the search.
Variant instrb(BuiltinState&, Args a) {
  const InStrArgs in = instr_args(a);
  if (in.haystack->is_null() || in.needle->is_null()) return Variant::null();
  com::BStr hay_text = to_text(*in.haystack), needle_text = to_text(*in.needle);
  std::string hay = bytes_of(in.text ? lower_text(hay_text.view()) : u16string(hay_text.view()));
  std::string needle = bytes_of(in.text ? lower_text(needle_text.view()) : u16string(needle_text.view()));
  if (hay.empty() || in.start > hay.size()) return Variant(std::int32_t{0});
  if (needle.empty()) return Variant(static_cast<std::int32_t>(in.start));
  std::size_t at = hay.find(needle, in.start - 1);
  return Variant(static_cast<std::int32_t>(at == std::string::npos ? 0 : at + 1));
}

constexpr Builtin kByteStrings[] = {
    {u"AscB", 1, 1, ascb},     {u"ChrB", 1, 1, chrb},     {u"LenB", 1, 1, lenb},
    {u"LeftB", 2, 2, leftb},   {u"RightB", 2, 2, rightb}, {u"MidB", 2, 3, midb},
    {u"InStrB", 2, 4, instrb},
};

}  // namespace

std::span<const Builtin> byte_string_builtins() { return kByteStrings; }

}  // namespace tap::vbs
