#include "diag/c_escape.h"

namespace tap {

void append_c_escaped(std::string& out, std::string_view bytes) {
  static constexpr char digits[] = "0123456789ABCDEF";
  for (unsigned char c : bytes) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      default:
        if (c >= 0x20 && c < 0x7F) {
          out.push_back(static_cast<char>(c));
        } else {
          out += "\\x";
          out.push_back(digits[c >> 4]);
          out.push_back(digits[c & 15]);
        }
    }
  }
}

std::string c_escaped(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  append_c_escaped(out, bytes);
  return out;
}

}  // namespace tap
