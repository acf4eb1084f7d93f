#include <cstdint>

#include "platform/os/code_page.h"

// UTF-8 is the same on every system, so this half of code_page.h is
// portable; the ANSI half is the system's.
namespace tap::os {
namespace {

bool is_high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::u16string utf8_to_wide(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    auto b0 = static_cast<unsigned char>(s[i]);
    std::uint32_t cp = 0xFFFD;
    std::size_t len = 1;
    std::size_t need = b0 < 0x80 ? 0 : b0 >= 0xF0 && b0 <= 0xF4 ? 3 : b0 >= 0xE0 && b0 < 0xF0 ? 2
                                   : b0 >= 0xC2 && b0 < 0xE0     ? 1 : 4;
    if (need == 0) {
      cp = b0;
    } else if (need < 4 && i + need < s.size()) {
      std::uint32_t v = b0 & (0x3F >> need);
      bool ok = true;
      for (std::size_t k = 1; ok && k <= need; ++k) {
        auto bk = static_cast<unsigned char>(s[i + k]);
        ok = (bk & 0xC0) == 0x80;
        v = (v << 6) | (bk & 0x3F);
      }
      bool overlong = (need == 2 && v < 0x800) || (need == 3 && v < 0x10000);
      bool surrogate = v >= 0xD800 && v <= 0xDFFF;
      if (ok && !overlong && !surrogate && v <= 0x10FFFF) {
        cp = v;
        len = need + 1;
      }
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

std::string wide_to_utf8(std::u16string_view t) {
  std::string out;
  out.reserve(t.size());
  for (std::size_t i = 0; i < t.size(); ++i) {
    std::uint32_t cp = t[i];
    if (is_high_surrogate(t[i]) && i + 1 < t.size() && is_low_surrogate(t[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (t[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace tap::os
