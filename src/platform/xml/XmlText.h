#pragma once
// Text helpers shared by the DOM adapter and the XDR validator. libxml2
// hands out UTF-8; the DOM interface speaks UTF-16.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/os/code_page.h"

namespace tap::xml {

inline std::u16string utf8_to_utf16(std::string_view text) { return os::utf8_to_wide(text); }
// Unpaired surrogates become U+FFFD.
inline std::string utf16_to_utf8(std::u16string_view text) { return os::wide_to_utf8(text); }

inline bool is_xml_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
std::string_view trim_xml_space(std::string_view text);
bool is_all_xml_space(std::string_view text);
std::size_t count_code_points(std::string_view utf8);

// Shortens a value for an error message so that a huge node cannot make a
// huge message.
std::string quote_value(std::string_view value);

inline std::string_view view(const unsigned char* s) {
  return s ? std::string_view(reinterpret_cast<const char*>(s)) : std::string_view();
}

}  // namespace tap::xml
