#pragma once
// A parsed document as this layer keeps it: a compact tree built from the
// parser's events. Nodes, attributes and short texts live in one arena of
// pages, names in the parser's dictionary, and texts too large for the
// arena in pages of their own; destroying the tree gives all of it back
// at once, so a document leaves nothing behind in the allocator.
#include <libxml/xmlstring.h>
#include <libxml/dict.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/os/MemoryArena.h"

namespace tap::xml {

enum class NodeKind : std::uint8_t { Element, Text, CData, Comment, ProcessingInstruction };

struct TreeAttribute {
  std::string_view local;
  std::string_view prefix;  // empty when unprefixed
  std::string_view ns;      // empty when in no namespace
  std::string_view value;   // entities and character references resolved
};

// A namespace declaration of an element; the default namespace has an
// empty prefix.
struct TreeNamespace {
  std::string_view prefix;
  std::string_view uri;
};

struct TreeNode {
  NodeKind kind = NodeKind::Element;
  std::uint32_t attribute_count = 0;
  std::uint32_t namespace_count = 0;
  // Of an element's start tag, 1-based; 0 when unknown.
  std::int32_t line = 0;
  std::int32_t column = 0;
  TreeNode* parent = nullptr;
  TreeNode* next = nullptr;
  TreeNode* first_child = nullptr;
  TreeNode* last_child = nullptr;
  std::string_view name;    // element: local name; processing instruction: target
  std::string_view prefix;  // element
  std::string_view ns;      // element
  TreeAttribute* attributes = nullptr;
  TreeNamespace* namespaces = nullptr;
  std::string_view text;  // text, CDATA, comment, processing-instruction data

  bool is_element() const { return kind == NodeKind::Element; }
  bool is_text() const { return kind == NodeKind::Text || kind == NodeKind::CData; }
};

class Tree {
 public:
  Tree() = default;
  Tree(const Tree&) = delete;
  Tree& operator=(const Tree&) = delete;
  ~Tree();

  const TreeNode* root() const { return root_; }

  // For the parser that builds it.
  os::MemoryArena& arena() { return arena_; }
  TreeNode* new_node(NodeKind kind, TreeNode* parent);
  std::string_view copy(std::string_view text);
  // Keeps pages from os::allocate_pages; they are released with the tree.
  void adopt_pages(void* pages, std::size_t size) { adopted_.push_back({pages, size}); }
  // Names and namespace URIs point into the dictionary, held from here on.
  void hold_names(xmlDictPtr dict);

 private:
  os::MemoryArena arena_;
  struct Pages {
    void* pages;
    std::size_t size;
  };
  std::vector<Pages> adopted_;
  xmlDictPtr names_ = nullptr;
  TreeNode* root_ = nullptr;
};

// The URI bound to `prefix` in the scope of `node` ("" when unbound; the
// prefix "xml" is always bound).
std::string_view lookup_namespace(const TreeNode* node, std::string_view prefix);

}  // namespace tap::xml
