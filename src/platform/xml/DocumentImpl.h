#pragma once
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/xml/XdrSchema.h"
#include "platform/xml/XmlDocument.h"
#include "platform/xml/XmlTree.h"

namespace tap::xml {

// Bytes of large bin.hex elements, decoded while the validator checked
// them, by element; the first typed value of each takes them over, so a
// recording's big blocks are decoded once.
using DecodedBytes = std::unordered_map<const TreeNode*, std::string>;

struct Document::Impl {
  std::unique_ptr<Tree> tree;
  mutable DecodedBytes decoded;

  const TreeNode* root() const { return tree ? tree->root() : nullptr; }
  void reset(std::unique_ptr<Tree> replacement) {
    decoded.clear();
    tree = std::move(replacement);
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
