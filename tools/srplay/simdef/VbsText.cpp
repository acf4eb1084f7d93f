#include "simdef/VbsText.h"

#include <cstdio>

namespace srplay::simdef {

std::string vbs_bytes(const std::string& bytes) {
  std::string out;
  std::string quoted;
  auto flush = [&] {
    if (quoted.empty()) return;
    if (!out.empty()) out += " & ";
    out += "\"" + quoted + "\"";
    quoted.clear();
  };
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F) {
      quoted += static_cast<char>(c);
      if (c == '"') quoted += '"';
      continue;
    }
    flush();
    if (!out.empty()) out += " & ";
    out += "Chr(" + std::to_string(c) + ")";
  }
  flush();
  return out.empty() ? "\"\"" : out;
}

std::string vbs_double(double value) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", value);
  return std::string("CDbl(\"") + buf + "\")";
}

}  // namespace srplay::simdef
