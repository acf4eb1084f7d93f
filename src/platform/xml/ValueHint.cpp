#include "platform/xml/ValueHint.h"

#include <cctype>
#include <cstdint>

#include "platform/xml/XmlText.h"

namespace tap::xml {
namespace {

bool is_hex_digit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// A character as a message shows it: printable ASCII quoted, anything else
// by its byte value.
std::string shown(char c) {
  auto u = static_cast<unsigned char>(c);
  if (is_xml_space(c)) return "white space";
  if (u >= 0x20 && u < 0x7F) return std::string("'") + c + "'";
  static constexpr char digits[] = "0123456789ABCDEF";
  return std::string("the byte 0x") + digits[u >> 4] + digits[u & 15];
}

std::string bin_hex_hint(std::string_view value) {
  const std::size_t lead = value.find_first_not_of(" \t\r\n");
  std::string_view digits = trim_xml_space(value);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (is_hex_digit(digits[i])) continue;
    // Counted in the value as written, from 1; a multi-byte character
    // counts as one.
    std::size_t position = 1;
    for (std::size_t k = 0; k < lead + i; ++k)
      position += (static_cast<unsigned char>(value[k]) & 0xC0) != 0x80;
    return "bin.hex takes only hexadecimal digits; the first other character is " +
           shown(digits[i]) + ", at position " + std::to_string(position);
  }
  if (digits.size() % 2 != 0)
    return "bin.hex takes two hexadecimal digits per byte; this value has an odd number (" +
           std::to_string(digits.size()) + ")";
  return {};
}

// "0x1F" as users write hexadecimal numbers, when it is one.
std::string hex_in_decimal(std::string_view value) {
  std::string_view t = trim_xml_space(value);
  if (t.size() < 3 || t.size() > 18 || t[0] != '0' || (t[1] != 'x' && t[1] != 'X')) return {};
  std::uint64_t n = 0;
  for (char c : t.substr(2)) {
    if (!is_hex_digit(c)) return {};
    n = n * 16 + static_cast<std::uint64_t>(std::isdigit(static_cast<unsigned char>(c))
                                                 ? c - '0'
                                                 : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
  }
  return " (" + std::string(t) + " is " + std::to_string(n) + ")";
}

std::string integer_hint(std::string_view value, const char* range) {
  return std::string("write a decimal integer from ") + range + hex_in_decimal(value);
}

}  // namespace

std::string value_hint(DataType type, std::string_view value) {
  switch (type) {
    case DataType::BinHex:
      return bin_hex_hint(value);
    case DataType::I4:
    case DataType::Int:
      return integer_hint(value, "-2147483648 to 2147483647");
    case DataType::Ui4:
      return integer_hint(value, "0 to 4294967295");
    case DataType::Boolean:
      return "write \"1\" for true or \"0\" for false";
    default:
      return {};
  }
}

}  // namespace tap::xml
