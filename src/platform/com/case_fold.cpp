#include "platform/com/case_fold.h"

namespace tap::com {

char16_t lower_char(char16_t c) {
  if (c < 0x80) return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
    return static_cast<char16_t>(c + 32);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  // Latin Extended-A pairs capitals with the next code unit, except where
  // the pairing shifts by one (0x139-0x148, 0x179-0x17E) and dotless i.
  if ((c >= 0x100 && c <= 0x137 && c % 2 == 0 && c != 0x130) || (c >= 0x14A && c <= 0x177 && c % 2 == 0))
    return static_cast<char16_t>(c + 1);
  if ((c >= 0x139 && c <= 0x148 && c % 2 == 1) || (c >= 0x179 && c <= 0x17E && c % 2 == 1))
    return static_cast<char16_t>(c + 1);
  if (c == 0x178) return 0xFF;
  return c;
}

char16_t upper_char(char16_t c) {
  if (c < 0x80) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) || (c >= 0x430 && c <= 0x44F))
    return static_cast<char16_t>(c - 32);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  if ((c >= 0x101 && c <= 0x137 && c % 2 == 1 && c != 0x131) || (c >= 0x14B && c <= 0x177 && c % 2 == 1))
    return static_cast<char16_t>(c - 1);
  if ((c >= 0x13A && c <= 0x148 && c % 2 == 0) || (c >= 0x17A && c <= 0x17E && c % 2 == 0))
    return static_cast<char16_t>(c - 1);
  if (c == 0xFF) return 0x178;
  return c;
}

int compare_text(std::u16string_view a, std::u16string_view b, bool ignore_case) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    char16_t x = a[i], y = b[i];
    if (ignore_case) { x = lower_char(x); y = lower_char(y); }
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace tap::com
