#pragma once
#include <libxml/tree.h>

#include "platform/xml/XdrSchema.h"
#include "platform/xml/XmlDocument.h"

namespace tap::xml {

struct Document::Impl {
  xmlDocPtr doc = nullptr;

  Impl() = default;
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;
  ~Impl() { reset(nullptr); }
  void reset(xmlDocPtr replacement) {
    if (doc) xmlFreeDoc(doc);
    doc = replacement;
  }
};

struct SchemaCache::Impl {
  std::vector<std::pair<std::string, std::shared_ptr<const XdrSchema>>> entries;

  const XdrSchema* find(std::string_view ns) const {
    for (const auto& [uri, schema] : entries) {
      if (uri == ns) return schema.get();
    }
    return nullptr;
  }
  const ElementDecl* element(std::string_view ns, std::string_view name) const {
    const XdrSchema* schema = find(ns);
    return schema ? schema->find_element(name) : nullptr;
  }
};

}  // namespace tap::xml
