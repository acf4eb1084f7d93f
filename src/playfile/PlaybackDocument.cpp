#include "playfile/PlaybackDocument.h"

#include <stdexcept>

#include "platform/os/code_page.h"
#include "platform/os/module_resources.h"
#include "platform/xml/XmlErrors.h"
#include "playfile/file_format.h"

namespace tap {
namespace {

std::shared_ptr<const xml::SchemaCache> load_schema() {
  std::optional<std::string_view> text =
      os::find_resource(file_format::kSchemaResourceType, file_format::kSchemaResourceId);
  if (!text) throw std::runtime_error("The schema resource is missing.");
  xml::Document schema;
  if (!schema.load_from_memory(*text)) throw std::runtime_error("The schema does not load.");
  auto cache = std::make_shared<xml::SchemaCache>();
  xml::ParseResult added = cache->add(file_format::kNamespace, schema);
  if (!added) throw std::runtime_error("The schema is refused: " + added.message);
  return cache;
}

// The schema is the library's own and never changes, so it is parsed and
// compiled once for the process; a compiled schema is only read after.
const std::shared_ptr<const xml::SchemaCache>& playback_schema() {
  static const std::shared_ptr<const xml::SchemaCache> cache = load_schema();
  return cache;
}

std::string namespace_text() {
  return std::string(file_format::kNamespace.begin(), file_format::kNamespace.end());
}

// The element a validation failure points at: the one whose start tag is
// at that line and column.
xml::Element element_at(const xml::Element& e, int line, int column) {
  if (e.line() == line && e.column() == column) return e;
  for (const xml::Node& node : e.child_nodes()) {
    if (!node.is_element()) continue;
    xml::Element child = node.as_element();
    if (child.line() > line) break;
    if (xml::Element found = element_at(child, line, column)) return found;
  }
  return {};
}

// Says where an element named like the file's own, but refused, belongs:
// in another namespace it is not the element the schema expected.
std::string namespace_hint(const xml::Element& e) {
  std::string ns = os::wide_to_ansi(e.namespace_uri());
  return ": this '" + os::wide_to_ansi(e.local_name()) + "' is " +
         (ns.empty() ? "in no namespace" : "in the namespace " + ns) +
         ", and a playback file's elements are in " + namespace_text();
}

}  // namespace

PlaybackDocument::PlaybackDocument() : cache_(playback_schema()) { document_.set_schemas(cache_); }

xml::ParseResult PlaybackDocument::load(const std::string& path) {
  document_.set_deadline(std::chrono::steady_clock::now() + kTimeLimit);
  xml::ParseResult result = document_.load_from_file(path);
  if (!result) return result;
  result = document_.validate();
  if (result.code == static_cast<int>(xml::XmlError::NoSchema))
    result.message += ": a playback file's elements are in the namespace " + namespace_text() +
                      ", which its root declares as xmlns=\"" + namespace_text() + "\"";
  if (result.code == static_cast<int>(xml::XmlError::UnexpectedElement)) {
    xml::Element at = element_at(document_.root(), result.line, result.column);
    if (at && at.namespace_uri() != cache_->first_namespace()) result.message += namespace_hint(at);
  }
  if (!result) return result;
  xml::Element root = document_.root();
  if (!root || root.namespace_uri() != cache_->first_namespace() ||
      root.tag_name() != u"IORecordStreamFile") {
    result.code = -1;
    result.line = root ? root.line() : 0;
    result.element = root ? os::wide_to_ansi(root.local_name()) : std::string();
    result.message = "the root element is not an unprefixed IORecordStreamFile in the namespace " +
                     namespace_text();
  }
  return result;
}

}  // namespace tap
