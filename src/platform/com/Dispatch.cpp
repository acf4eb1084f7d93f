#include "platform/com/Dispatch.h"

namespace tap::com {

namespace {
char16_t fold_ascii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }
}  // namespace

bool names_equal(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (fold_ascii(a[i]) != fold_ascii(b[i])) return false;
  return true;
}

}  // namespace tap::com
