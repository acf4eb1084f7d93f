#include "simdef/SimText.h"

namespace srplay::simdef {

std::string strip_spaces(const std::string& text) {
  const auto b = text.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return text.substr(b, text.find_last_not_of(' ') - b + 1);
}

std::string message_bytes(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'r' || text[i + 1] == 'n')) {
      out += text[i + 1] == 'r' ? '\r' : '\n';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::optional<std::string> expand_bytes_directives(const std::string& text) {
  static const std::string kOpen = "BYTES(";
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto at = text.find(kOpen, i);
    if (at == std::string::npos) break;
    const auto close = text.find(')', at);
    if (close == std::string::npos) break;
    out += text.substr(i, at - i);
    std::string digits;
    for (char c : text.substr(at + kOpen.size(), close - at - kOpen.size()))
      if (c != ' ' && c != '\t' && c != '\n' && c != '\r') digits += c;
    if (digits.empty()) {  // "BYTES()" stays as written
      out += text.substr(at, close - at + 1);
      i = close + 1;
      continue;
    }
    if (digits.size() % 2 != 0) return std::nullopt;
    for (std::size_t k = 0; k < digits.size(); k += 2) {
      int value = 0;
      for (char c : digits.substr(k, 2)) {
        const int d = c >= '0' && c <= '9' ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
        if (d < 0) return std::nullopt;
        value = value * 16 + d;
      }
      out += static_cast<char>(value);
    }
    i = close + 1;
  }
  out += text.substr(i);
  return out;
}

bool is_null_response(const std::string& text) { return text == "null_response"; }

}  // namespace srplay::simdef
