#include "platform/xml/XmlErrors.h"

#include <vector>

namespace tap::xml {

namespace {

std::string_view template_of(XmlError error) {
  switch (error) {
#define TAP_XML_ERROR_TEXT(id, code, text) \
  case XmlError::id:                       \
    return text;
    TAP_XML_ERRORS(TAP_XML_ERROR_TEXT)
#undef TAP_XML_ERROR_TEXT
  }
  return "unknown error";
}

}  // namespace

std::string error_message(XmlError error, std::initializer_list<std::string_view> args) {
  std::string_view tpl = template_of(error);
  std::vector<std::string_view> list(args);
  std::string out;
  for (std::size_t i = 0; i < tpl.size(); ++i) {
    if (tpl[i] == '%' && i + 1 < tpl.size() && tpl[i + 1] >= '1' && tpl[i + 1] <= '9') {
      auto k = static_cast<std::size_t>(tpl[i + 1] - '1');
      if (k < list.size()) out += list[k];
      ++i;
    } else {
      out += tpl[i];
    }
  }
  return out;
}

ParseResult make_error(XmlError error, int line, int column, std::initializer_list<std::string_view> args) {
  ParseResult r;
  r.code = static_cast<int>(error);
  r.line = line;
  r.column = column;
  r.message = error_message(error, args);
  return r;
}

}  // namespace tap::xml
