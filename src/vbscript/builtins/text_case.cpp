#include "vbscript/builtins/text_case.h"

#include "platform/com/case_fold.h"

namespace tap::vbs {

std::u16string upper_text(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& c : out) c = com::upper_char(c);
  return out;
}

std::u16string lower_text(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& c : out) c = com::lower_char(c);
  return out;
}

bool equal_text(std::u16string_view a, std::u16string_view b, bool text) {
  return a.size() == b.size() && com::compare_text(a, b, text) == 0;
}

std::size_t find_text(std::u16string_view hay, std::u16string_view needle, std::size_t from,
                      bool text) {
  if (!text) return hay.find(needle, from);
  for (std::size_t i = from; i + needle.size() <= hay.size(); ++i)
    if (equal_text(hay.substr(i, needle.size()), needle, true)) return i;
  return std::u16string_view::npos;
}

std::size_t rfind_text(std::u16string_view hay, std::u16string_view needle, std::size_t end,
                       bool text) {
  if (end > hay.size()) end = hay.size();
  if (needle.size() > end) return std::u16string_view::npos;
  for (std::size_t i = end - needle.size() + 1; i-- > 0;)
    if (equal_text(hay.substr(i, needle.size()), needle, text)) return i;
  return std::u16string_view::npos;
}

}  // namespace tap::vbs
