#include "platform/xml/XdrSchema.h"

namespace tap::xml {

const AttributeUse* ElementDecl::find_attribute(std::string_view ns, std::string_view attr) const {
  for (const auto& use : attributes) {
    if (use.name == attr && use.ns == ns) return &use;
  }
  return nullptr;
}

const AttributeDecl* ElementDecl::find_local_type(std::string_view attr) const {
  for (const auto& decl : local_types) {
    if (decl->name == attr) return decl.get();
  }
  return nullptr;
}

const ElementDecl* XdrSchema::find_element(std::string_view name) const {
  auto it = elements.find(name);
  return it == elements.end() ? nullptr : it->second.get();
}

const AttributeDecl* XdrSchema::find_attribute(std::string_view name) const {
  auto it = attributes.find(name);
  return it == attributes.end() ? nullptr : it->second.get();
}

}  // namespace tap::xml
