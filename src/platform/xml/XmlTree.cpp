#include "platform/xml/XmlTree.h"

#include <cstring>

#include "platform/os/pages.h"
#include "platform/xml/XdrSchema.h"

namespace tap::xml {

Tree::~Tree() {
  for (const Pages& p : adopted_) os::release_pages(p.pages, p.size);
  if (names_) xmlDictFree(names_);
}

TreeNode* Tree::new_node(NodeKind kind, TreeNode* parent) {
  auto* node = new (arena_.allocate(sizeof(TreeNode), alignof(TreeNode))) TreeNode;
  node->kind = kind;
  node->parent = parent;
  if (!parent) {
    if (kind == NodeKind::Element && !root_) root_ = node;
    return node;
  }
  if (parent->last_child)
    parent->last_child->next = node;
  else
    parent->first_child = node;
  parent->last_child = node;
  return node;
}

std::string_view Tree::copy(std::string_view text) {
  if (text.empty()) return {};
  auto* bytes = static_cast<char*>(arena_.allocate(text.size(), 1));
  std::memcpy(bytes, text.data(), text.size());
  return {bytes, text.size()};
}

void Tree::hold_names(xmlDictPtr dict) {
  if (names_ == dict) return;
  if (dict) xmlDictReference(dict);
  if (names_) xmlDictFree(names_);
  names_ = dict;
}

std::string_view lookup_namespace(const TreeNode* node, std::string_view prefix) {
  if (prefix == "xml") return kXmlNamespace;
  for (const TreeNode* n = node; n; n = n->parent) {
    for (std::uint32_t i = n->namespace_count; i-- > 0;) {
      if (n->namespaces[i].prefix == prefix) return n->namespaces[i].uri;
    }
  }
  return {};
}

}  // namespace tap::xml
