#include "playfile/AddressMatch.h"

#include "playfile/conversion_error.h"
#include "playfile/number_text.h"

namespace tap {
namespace {

std::string required(const AddressAttribute& attribute, std::string_view name) {
  std::optional<std::string> text = attribute(name);
  if (!text) throw conversion_error(name, "InstrumentAddress", 0, {});
  return std::move(*text);
}

bool integer_equals(const AddressAttribute& attribute, std::string_view name,
                    std::uint32_t session_value) {
  const std::string text = required(attribute, name);
  std::optional<std::int32_t> value = parse_i4(text);
  if (!value) throw conversion_error(name, "InstrumentAddress", 0, "a 32-bit integer", i4_problem(text));
  // Compared as 32-bit values: "-1" is secondary address 4294967295.
  return static_cast<std::uint32_t>(*value) == session_value;
}

}  // namespace

bool address_matches(const SessionAddress& session, std::string_view kind_file_name,
                     const AddressAttribute& attribute) {
  return required(attribute, "intfaddr") == kind_file_name &&
         integer_equals(attribute, "prim", session.primary) &&
         integer_equals(attribute, "sec", session.secondary) &&
         integer_equals(attribute, "devprot", session.protocol) &&
         required(attribute, "bracket") == session.bracket &&
         required(attribute, "colon") == session.colon;
}

}  // namespace tap
