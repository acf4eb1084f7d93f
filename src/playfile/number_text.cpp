#include "playfile/number_text.h"

#include <charconv>

namespace tap {
namespace {

std::string_view trim(std::string_view s) {
  constexpr std::string_view space = " \t\r\n";
  std::size_t b = s.find_first_not_of(space);
  if (b == std::string_view::npos) return {};
  std::size_t e = s.find_last_not_of(space);
  return s.substr(b, e - b + 1);
}

}  // namespace

std::optional<std::int32_t> parse_i4(std::string_view text) {
  text = trim(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  if (text.empty()) return std::nullopt;
  std::int32_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string i4_problem(std::string_view text) {
  const std::string quoted = "\"" + std::string(text) + "\"";
  std::string_view t = trim(text);
  std::string_view digits = t;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
  const bool decimal = !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
  if (decimal)
    return quoted + (t.front() == '-' ? " is below -2147483648" : " is above 2147483647") +
           ", beyond what the driver reads";
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X'))
    return quoted + " is hexadecimal; the driver reads decimal numbers only";
  return quoted + " is not a decimal number";
}

std::optional<double> parse_version(std::string_view text) {
  text = trim(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  if (text.empty()) return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value,
                                   std::chars_format::fixed);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace tap
