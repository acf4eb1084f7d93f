// FormatNumber, FormatPercent and FormatCurrency with the conventions of
// locale 0x409: two decimals, "." and ",", a leading zero, "$" in front and
// negative currency in parentheses. Rounding is half away from zero on the
// value's 15 significant digits, so 2.675 rounds to 2.68 as printed.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "vbscript/builtins/Builtin.h"
#include "vbscript/builtins/builtin_args.h"

namespace tap::vbs {

namespace {

using namespace builtin;
using com::Variant;

// vbTrue (-1), vbFalse (0) or vbUseDefault (-2).
bool tristate_arg(Args a, std::size_t i, bool fallback) {
  std::int32_t v = optional_long(a, i, -2);
  return v == -2 ? fallback : v != 0;
}

struct NumberStyle {
  int decimals = 2;
  bool leading_zero = true;
  bool parens = false;
  bool group = true;
};

// The digits of |x| rounded to style.decimals places, with "." and ",".
std::u16string magnitude_text(double x, const NumberStyle& style, bool* all_zero) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(x));
  std::string mantissa;
  for (const char* p = buf; *p && *p != 'e'; ++p)
    if (*p != '.') mantissa.push_back(*p);
  int exponent = std::atoi(std::strchr(buf, 'e') + 1);
  // digits holds the number with `point` digits before the decimal point.
  std::string digits = mantissa;
  int point = exponent + 1;
  if (point <= 0) {
    digits.insert(0, static_cast<std::size_t>(1 - point), '0');
    point = 1;
  }
  std::size_t keep = static_cast<std::size_t>(point + style.decimals);
  if (digits.size() < keep + 1) digits.append(keep + 1 - digits.size(), '0');
  bool round_up = digits[keep] >= '5';
  digits.resize(keep);
  if (round_up) {
    std::size_t i = keep;
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits.insert(digits.begin(), '1');
      ++point;
    } else {
      ++digits[i - 1];
    }
  }
  *all_zero = digits.find_first_not_of('0') == std::string::npos;
  std::string whole = digits.substr(0, static_cast<std::size_t>(point));
  std::size_t nonzero = whole.find_first_not_of('0');
  whole.erase(0, nonzero == std::string::npos ? whole.size() : nonzero);
  if (whole.empty() && (style.leading_zero || style.decimals == 0)) whole.push_back('0');
  std::u16string out;
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (style.group && i > 0 && (whole.size() - i) % 3 == 0) out.push_back(u',');
    out.push_back(static_cast<char16_t>(whole[i]));
  }
  if (style.decimals > 0) {
    out.push_back(u'.');
    for (std::size_t i = static_cast<std::size_t>(point); i < digits.size(); ++i)
      out.push_back(static_cast<char16_t>(digits[i]));
  }
  return out;
}

NumberStyle style_args(Args a, bool parens_default) {
  NumberStyle style;
  std::int32_t decimals = optional_long(a, 1, -1);
  if (decimals < -1 || decimals > 99) raise(RuntimeError::invalid_procedure_call);
  if (decimals != -1) style.decimals = decimals;
  style.leading_zero = tristate_arg(a, 2, true);
  style.parens = tristate_arg(a, 3, parens_default);
  style.group = tristate_arg(a, 4, true);
  return style;
}

Variant formatted(double x, const NumberStyle& style, std::u16string_view prefix,
                  std::u16string_view suffix) {
  if (!std::isfinite(x)) raise(RuntimeError::overflow);
  bool zero = false;
  std::u16string digits = magnitude_text(x, style, &zero);
  bool negative = x < 0 && !zero;
  std::u16string out;
  if (negative) out.push_back(style.parens ? u'(' : u'-');
  out.append(prefix).append(digits).append(suffix);
  if (negative && style.parens) out.push_back(u')');
  return Variant(std::move(out));
}

Variant formatnumber(BuiltinState&, Args a) {
  NumberStyle style = style_args(a, false);
  return formatted(to_double(a[0]), style, {}, {});
}

Variant formatpercent(BuiltinState&, Args a) {
  NumberStyle style = style_args(a, false);
  return formatted(to_double(a[0]) * 100.0, style, {}, u"%");
}

Variant formatcurrency(BuiltinState&, Args a) {
  NumberStyle style = style_args(a, true);
  return formatted(to_double(a[0]), style, u"$", {});
}

constexpr Builtin kFormat[] = {
    {u"FormatNumber", 1, 5, formatnumber},
    {u"FormatPercent", 1, 5, formatpercent},
    {u"FormatCurrency", 1, 5, formatcurrency},
};

}  // namespace

std::span<const Builtin> format_builtins() { return kFormat; }

}  // namespace tap::vbs
