#include "playfile/InterfaceKind.h"

#include <cctype>

namespace tap {
namespace {

bool equal_no_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

std::int32_t interface_kind_code(std::string_view kind_name, std::string_view class_name) {
  if (!equal_no_case(class_name, "instr")) return kind_unknown;
#define TAP_KIND_MATCH(id, region, code, file) \
  if (equal_no_case(kind_name, region)) return code;
  TAP_INTERFACE_KINDS(TAP_KIND_MATCH)
#undef TAP_KIND_MATCH
  return kind_unknown;
}

std::string_view interface_file_name(std::int32_t code) {
  switch (code) {
#define TAP_KIND_NAME(id, region, c, file) \
  case c:                                  \
    return file;
    TAP_INTERFACE_KINDS(TAP_KIND_NAME)
#undef TAP_KIND_NAME
    default:
      return {};
  }
}

}  // namespace tap
