#include "platform/com/number_text.h"

#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tap::com {

namespace {

std::u16string widen(const char* s) {
  std::u16string out;
  for (; *s; ++s) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*s)));
  return out;
}

// Rounds to `digits` significant digits, then prints in fixed notation when
// that needs at most `digits` decimal places and the exponent is below
// `digits`; otherwise as "1.5E-07" / "1E+16". So 1/3 is 0.333333333333333
// but 0.0199999997764826 is 1.99999997764826E-02, as VBScript shows them.
std::u16string format_general(double v, int digits) {
  if (std::isnan(v)) return u"-1.#IND";
  if (std::isinf(v)) return v < 0 ? u"-1.#INF" : u"1.#INF";
  if (v == 0) return u"0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*E", digits - 1, std::fabs(v));
  // buf: d.dddE+xx
  std::string mantissa;
  const char* p = buf;
  for (; *p && *p != 'E'; ++p)
    if (*p != '.') mantissa.push_back(*p);
  int exponent = std::atoi(p + 1);
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
  int n = static_cast<int>(mantissa.size());
  std::string out = v < 0 ? "-" : "";
  if (exponent >= digits || n - 1 - exponent > digits) {
    out += mantissa[0];
    if (n > 1) out += "." + mantissa.substr(1);
    char e[16];
    std::snprintf(e, sizeof e, "E%c%02d", exponent < 0 ? '-' : '+', exponent < 0 ? -exponent : exponent);
    out += e;
  } else if (exponent < 0) {
    out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
  } else {
    auto int_digits = static_cast<std::size_t>(exponent + 1);
    if (mantissa.size() <= int_digits) {
      out += mantissa + std::string(int_digits - mantissa.size(), '0');
    } else {
      out += mantissa.substr(0, int_digits) + "." + mantissa.substr(int_digits);
    }
  }
  return widen(out.c_str());
}

bool is_space(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' || c == 0xA0; }

HRESULT parse_radix(std::u16string_view digits, unsigned radix, ParsedNumber* out) {
  if (digits.empty()) return DISP_E_TYPEMISMATCH;
  std::uint64_t v = 0;
  for (char16_t c : digits) {
    unsigned d;
    if (c >= u'0' && c <= u'9') d = c - u'0';
    else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
    else return DISP_E_TYPEMISMATCH;
    if (d >= radix) return DISP_E_TYPEMISMATCH;
    v = v * radix + d;
    if (v > 0xFFFFFFFFu) return DISP_E_OVERFLOW;
  }
  out->hex_oct = true;
  out->value = v <= 0xFFFF ? static_cast<std::int16_t>(v) : static_cast<std::int32_t>(v);
  return S_OK;
}

}  // namespace

std::u16string format_integer(std::int64_t v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(v));
  return widen(buf);
}

std::u16string format_r8(double v) { return format_general(v, 15); }
std::u16string format_r4(float v) { return format_general(v, 7); }

std::u16string format_cy(Currency v) {
  std::uint64_t mag = v.scaled < 0 ? 0 - static_cast<std::uint64_t>(v.scaled) : static_cast<std::uint64_t>(v.scaled);
  char buf[48];
  int n = std::snprintf(buf, sizeof buf, "%s%llu.%04llu", v.scaled < 0 ? "-" : "",
                        static_cast<unsigned long long>(mag / 10000), static_cast<unsigned long long>(mag % 10000));
  while (n > 0 && buf[n - 1] == '0') buf[--n] = 0;
  if (n > 0 && buf[n - 1] == '.') buf[--n] = 0;
  return widen(buf);
}

double round_half_even(double v) { return std::nearbyint(v); }

// number := space* ( "(" space* amount space* ")" | sign? space* amount sign? ) space*
// amount := "$"? space* ( "&H" hex | "&O" octal | digits ("," | digit)* ("." digit*)? exponent? | "." digit+ exponent? )
// exponent := ("E" | "e" | "D" | "d") sign? digit+
HRESULT parse_number(std::u16string_view text, ParsedNumber* out) {
  std::size_t i = 0, n = text.size();
  auto skip_space = [&] { while (i < n && is_space(text[i])) ++i; };
  skip_space();
  bool negative = false, parens = false, signed_ = false;
  if (i < n && text[i] == u'(') { parens = true; negative = true; ++i; skip_space(); }
  if (!parens && i < n && (text[i] == u'-' || text[i] == u'+')) { negative = text[i] == u'-'; signed_ = true; ++i; skip_space(); }
  if (i < n && text[i] == u'$') { ++i; skip_space(); }
  if (!signed_ && !parens && i < n && (text[i] == u'-' || text[i] == u'+')) { negative = text[i] == u'-'; signed_ = true; ++i; }

  ParsedNumber result;
  if (i + 1 < n && text[i] == u'&') {
    char16_t kind = text[i + 1];
    std::size_t start = i + 2, end = start;
    while (end < n && !is_space(text[end])) ++end;
    HRESULT hr;
    if (kind == u'H' || kind == u'h') hr = parse_radix(text.substr(start, end - start), 16, &result);
    else if (kind == u'O' || kind == u'o') hr = parse_radix(text.substr(start, end - start), 8, &result);
    else return DISP_E_TYPEMISMATCH;
    if (failed(hr)) return hr;
    i = end;
    skip_space();
    if (i != n) return DISP_E_TYPEMISMATCH;
    if (negative) result.value = -result.value;
    *out = result;
    return S_OK;
  }

  // Digits go to an ASCII buffer for from_chars; the buffer stays small by
  // counting surplus integer digits in the exponent instead.
  std::string buf;
  long exponent_adjust = 0;
  bool any_digit = false;
  auto push_digit = [&](char16_t c, bool fraction) {
    any_digit = true;
    if (buf.empty() && c == u'0') {
      if (fraction) --exponent_adjust;
    } else if (buf.size() < 40) {
      buf.push_back(static_cast<char>(c));
      if (fraction) --exponent_adjust;
    } else if (!fraction) {
      ++exponent_adjust;
    }
  };
  bool leading = true;
  while (i < n && ((text[i] >= u'0' && text[i] <= u'9') || (text[i] == u',' && !leading))) {
    if (text[i] != u',') { push_digit(text[i], false); leading = false; }
    ++i;
  }
  if (i < n && text[i] == u'.') {
    ++i;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') push_digit(text[i++], true);
  }
  if (!any_digit) return DISP_E_TYPEMISMATCH;
  long exponent = 0;
  if (i < n && (text[i] == u'E' || text[i] == u'e' || text[i] == u'D' || text[i] == u'd')) {
    std::size_t j = i + 1;
    bool exp_negative = false;
    if (j < n && (text[j] == u'-' || text[j] == u'+')) exp_negative = text[j++] == u'-';
    if (j >= n || text[j] < u'0' || text[j] > u'9') return DISP_E_TYPEMISMATCH;
    while (j < n && text[j] >= u'0' && text[j] <= u'9') {
      if (exponent < 100000) exponent = exponent * 10 + (text[j] - u'0');
      ++j;
    }
    if (exp_negative) exponent = -exponent;
    i = j;
  }
  if (!signed_ && !parens && i < n && (text[i] == u'-' || text[i] == u'+')) { negative = text[i] == u'-'; ++i; }
  skip_space();
  if (parens) {
    if (i >= n || text[i] != u')') return DISP_E_TYPEMISMATCH;
    ++i;
    skip_space();
  }
  if (i != n) return DISP_E_TYPEMISMATCH;

  long double value = 0;
  if (!buf.empty()) {
    long total = exponent + exponent_adjust;
    // Decide out-of-range cases here, so from_chars sees sane exponents.
    long magnitude = total + static_cast<long>(buf.size());
    if (magnitude > 400) return DISP_E_OVERFLOW;
    if (magnitude < -400) {
      value = 0;
    } else {
      buf += "e" + std::to_string(total);
#ifdef _WIN32
      // MinGW's from_chars reads a long double in double precision only;
      // the buffer holds no decimal point, so no locale can change strtold.
      errno = 0;
      char* end = nullptr;
      value = std::strtold(buf.c_str(), &end);
      if (end != buf.c_str() + buf.size()) return DISP_E_TYPEMISMATCH;
      if (errno == ERANGE) value = magnitude > 0 ? HUGE_VALL : 0;
#else
      auto [ptr, ec] = std::from_chars(buf.data(), buf.data() + buf.size(), value);
      (void)ptr;
      if (ec == std::errc::result_out_of_range) value = magnitude > 0 ? HUGE_VALL : 0;
      else if (ec != std::errc()) return DISP_E_TYPEMISMATCH;
#endif
    }
    if (value > DBL_MAX) return DISP_E_OVERFLOW;
  }
  result.value = negative ? -value : value;
  *out = result;
  return S_OK;
}

}  // namespace tap::com
