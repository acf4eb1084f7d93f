#include "simdef/PythonValues.h"

#include <cmath>
#include <cstdlib>

namespace srplay::simdef {
namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string stripped(const std::string& text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && is_space(text[b])) ++b;
  while (e > b && is_space(text[e - 1])) --e;
  return text.substr(b, e - b);
}

// Digits with single underscores between them; the underscores dropped.
std::optional<std::string> digit_run(const std::string& t, std::size_t& i) {
  std::string out;
  while (i < t.size()) {
    if (is_digit(t[i])) {
      out += t[i++];
    } else if (t[i] == '_' && !out.empty() && i + 1 < t.size() && is_digit(t[i + 1])) {
      ++i;
    } else {
      break;
    }
  }
  return out;
}

}  // namespace

std::optional<double> python_int(const std::string& text) {
  const std::string t = stripped(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  auto digits = digit_run(t, i);
  if (!digits || digits->empty() || i != t.size()) return std::nullopt;
  double v = 0;
  for (char c : *digits) v = v * 10 + (c - '0');
  if (v > 9007199254740992.0) return std::nullopt;
  return negative ? -v : v;
}

std::optional<double> python_float(const std::string& text) {
  const std::string t = stripped(text);
  std::size_t i = 0;
  std::string plain;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) plain += t[i++];
  auto whole = digit_run(t, i);
  plain += *whole;
  std::string fraction;
  if (i < t.size() && t[i] == '.') {
    ++i;
    fraction = *digit_run(t, i);
    plain += "." + fraction;
  }
  if (whole->empty() && fraction.empty()) return std::nullopt;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    plain += t[i++];
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) plain += t[i++];
    auto exponent = digit_run(t, i);
    if (exponent->empty()) return std::nullopt;
    plain += *exponent;
  }
  if (i != t.size()) return std::nullopt;
  const double v = std::strtod(plain.c_str(), nullptr);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace srplay::simdef
