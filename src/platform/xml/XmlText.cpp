#include "platform/xml/XmlText.h"

namespace tap::xml {

std::string_view trim_xml_space(std::string_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && is_xml_space(text[b])) ++b;
  while (e > b && is_xml_space(text[e - 1])) --e;
  return text.substr(b, e - b);
}

bool is_all_xml_space(std::string_view text) {
  for (char c : text) {
    if (!is_xml_space(c)) return false;
  }
  return true;
}

std::size_t count_code_points(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

std::string quote_value(std::string_view value) {
  constexpr std::size_t kShown = 40;
  if (value.size() <= kShown) return std::string(value);
  std::size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
  return std::string(value.substr(0, cut)) + "...";
}

}  // namespace tap::xml
