// Load + validate of arbitrary bytes against the playback schema, then the
// DOM reads the loader makes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/os/module_resources.h"
#include "platform/xml/XmlDocument.h"

namespace {

std::shared_ptr<const tap::xml::SchemaCache> playback_schema() {
  static const std::shared_ptr<const tap::xml::SchemaCache> cache = [] {
    auto c = std::make_shared<tap::xml::SchemaCache>();
    tap::xml::Document schema;
    auto text = tap::os::find_resource("XMLSCHEMA", 101);
    if (!text || !schema.load_from_memory(*text) ||
        !c->add(u"urn:Tarvena/Lantorix/StimulusResponseFile/1.0", schema)) {
      __builtin_trap();
    }
    return c;
  }();
  return cache;
}

void walk(const tap::xml::Element& e, int depth) {
  if (depth > 64) return;
  (void)e.tag_name();
  (void)e.typed_value();
  (void)e.attribute(u"returnValue");
  if (auto a = e.attribute_node(u"ignoreFlags")) (void)a.typed_value();
  (void)e.attribute(u"dt:dt");
  for (const auto& n : e.child_nodes()) {
    if (n.is_element()) walk(n.as_element(), depth + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tap::xml::Document doc;
  doc.set_schemas(playback_schema());
  if (!doc.load_from_memory(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
  (void)doc.validate();
  if (auto root = doc.root()) {
    walk(root, 0);
    (void)root.children(u"IORecordStream");
  }
  return 0;
}
