#pragma once
#include <libxml/tree.h>

#include <string>
#include <unordered_map>

#include "platform/xml/XdrSchema.h"
#include "platform/xml/XmlDocument.h"

namespace tap::xml {

// Bytes of large bin.hex elements, decoded while the validator checked
// them, by element; the first typed value of each takes them over, so a
// recording's big blocks are decoded once.
using DecodedBytes = std::unordered_map<const xmlNode*, std::string>;

struct Document::Impl {
  xmlDocPtr doc = nullptr;
  mutable DecodedBytes decoded;

  Impl() = default;
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;
  ~Impl() { reset(nullptr); }
  void reset(xmlDocPtr replacement) {
    decoded.clear();
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
