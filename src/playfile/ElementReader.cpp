#include "playfile/ElementReader.h"

#include "platform/os/code_page.h"
#include "playfile/conversion_error.h"
#include "playfile/number_text.h"

namespace tap {

std::u16string wide_name(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

bool ElementReader::has(std::string_view name) const {
  return e_.attribute(wide_name(name)).has_value();
}

std::optional<std::string> ElementReader::text(std::string_view name) const {
  std::optional<std::u16string> value = e_.attribute(wide_name(name));
  if (!value) return std::nullopt;
  return os::wide_to_ansi(*value);
}

conversion_error ElementReader::missing(std::string_view name, std::string_view expected,
                                        std::string detail) const {
  return conversion_error(name, os::wide_to_ansi(e_.local_name()), e_.line(), expected,
                          std::move(detail));
}

std::string ElementReader::required_text(std::string_view name) const {
  std::optional<std::string> value = text(name);
  if (!value) throw missing(name, {});
  return std::move(*value);
}

std::int32_t ElementReader::required_i4(std::string_view name) const {
  std::optional<std::string> text_value = text(name);
  std::optional<std::int32_t> value = text_value ? parse_i4(*text_value) : std::nullopt;
  if (!value) throw missing(name, "a 32-bit integer", text_value ? i4_problem(*text_value) : "");
  return *value;
}

std::int32_t ElementReader::optional_i4(std::string_view name, std::int32_t fallback) const {
  return has(name) ? required_i4(name) : fallback;
}

double ElementReader::required_version() const {
  std::optional<std::string> text_value = text("version");
  std::optional<double> value = text_value ? parse_version(*text_value) : std::nullopt;
  if (!value) throw missing("version", "a number");
  return *value;
}

bool ElementReader::boolean(std::string_view name, bool absent) const {
  xml::Attribute attr = e_.attribute_node(wide_name(name));
  if (!attr) return absent;
  xml::TypedValue value = attr.typed_value();
  if (const bool* b = std::get_if<bool>(&value)) return *b;
  // An untyped value converts as a boolean would; anything else is false.
  if (const std::u16string* s = std::get_if<std::u16string>(&value))
    return *s == u"1" || *s == u"true" || *s == u"-1";
  return false;
}

std::string ElementReader::bytes(const xml::Element& element) {
  xml::TypedValue value = element.typed_value();
  if (std::string* b = std::get_if<std::string>(&value)) return std::move(*b);
  return {};
}

std::string ElementReader::data_block(const xml::Element& data_struct) {
  std::string block;
  for (const xml::Node& node : data_struct.child_nodes())
    if (node.is_element()) block += bytes(node.as_element());
  return block;
}

}  // namespace tap
