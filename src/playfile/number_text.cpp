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
