#include "playfile/document_warnings.h"

#include <array>
#include <cctype>
#include <string_view>

#include "platform/os/code_page.h"
#include "playfile/ElementReader.h"
#include "playfile/file_format.h"

namespace tap {
namespace {

constexpr std::array<std::u16string_view, 15> kFileElements = {
    u"IORecordStreamFile", u"IORecordStream",  u"InstrumentAddress", u"IOStimulusResponse",
    u"Stimulus",           u"Response",        u"ExactString",       u"DoCommand",
    u"DataStruct",         u"DataParameter",   u"DoCommandResponse", u"ArrayInitValues",
    u"ArrayPair",          u"StringArrayValue", u"BinaryArrayValue"};

constexpr std::array<std::u16string_view, 3> kBinHexElements = {u"ExactString", u"DataParameter",
                                                               u"BinaryArrayValue"};

template <std::size_t N>
bool one_of(const std::array<std::u16string_view, N>& names, std::u16string_view name) {
  for (std::u16string_view n : names)
    if (n == name) return true;
  return false;
}

std::string ansi(const std::u16string& text) { return os::wide_to_ansi(text); }

std::string trimmed_lower(std::string text) {
  const std::size_t b = text.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  text = text.substr(b, text.find_last_not_of(" \t\r\n") - b + 1);
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The digits the author wrote, as bin.hex reads them; the schema has
// checked them, so every character is a digit and they come in pairs.
std::size_t hex_byte_count(const std::string& text) {
  std::size_t digits = 0;
  for (char c : text) digits += std::isxdigit(static_cast<unsigned char>(c)) != 0;
  return digits / 2;
}

void check_data_type(const xml::Element& e, std::vector<RecordingWarning>& out) {
  std::optional<std::u16string> type = e.data_type();
  if (!type) return;
  const std::string written = ansi(*type);
  if (trimmed_lower(written) == "bin.hex") return;
  const std::string taken = ElementReader::bytes(e);
  const std::size_t meant = hex_byte_count(ansi(e.text()));
  std::string gets = taken.empty() ? "no bytes" : std::to_string(taken.size()) + " other bytes";
  if (!taken.empty() && taken.size() != meant) gets = std::to_string(taken.size()) + " bytes";
  out.push_back({"data-type", ansi(e.local_name()), e.line(),
                 "the " + ansi(e.local_name()) + "'s dt:dt \"" + written +
                     "\" makes the driver read its value as " + written +
                     ", not bin.hex: it takes " + gets + " where the hexadecimal digits give " +
                     std::to_string(meant),
                 0});
}

void foreign_element(const xml::Element& e, std::vector<RecordingWarning>& out) {
  const std::string ns = ansi(e.namespace_uri());
  const std::string file_ns = ansi(std::u16string(file_format::kNamespace));
  out.push_back({"foreign-namespace", ansi(e.local_name()), e.line(),
                 "element '" + ansi(e.tag_name()) + "' is " +
                     (ns.empty() ? "in no namespace" : "in the namespace " + ns) +
                     ", not in " + file_ns + ": the driver skips it and everything in it",
                 0});
}

}  // namespace

void document_warnings(const xml::Element& element, bool skip_streams,
                       std::vector<RecordingWarning>& out) {
  if (one_of(kBinHexElements, element.local_name())) check_data_type(element, out);
  for (const xml::Node& node : element.child_nodes()) {
    if (!node.is_element()) continue;
    xml::Element child = node.as_element();
    const bool ours = child.namespace_uri() == file_format::kNamespace;
    if (!ours) {
      if (one_of(kFileElements, child.local_name())) foreign_element(child, out);
      continue;
    }
    if (skip_streams && child.local_name() == u"IORecordStream") continue;
    document_warnings(child, false, out);
  }
}

}  // namespace tap
