#pragma once
// Small accessors over the tree's nodes shared by the schema loader, the
// validator and the DOM views.
#include <optional>
#include <string>
#include <string_view>

#include "platform/xml/XmlText.h"
#include "platform/xml/XmlTree.h"

namespace tap::xml {

inline std::string_view node_name(const TreeNode* n) { return n->name; }
inline std::string_view node_ns(const TreeNode* n) { return n->ns; }
inline std::string_view attr_ns(const TreeAttribute& a) { return a.ns; }
inline std::string_view attr_name(const TreeAttribute& a) { return a.local; }
inline std::string_view attr_value(const TreeAttribute& a) { return a.value; }

// The 1-based line and column of an element's start tag; 0 when unknown.
inline int node_line(const TreeNode* n) { return n->line; }
inline int node_column(const TreeNode* n) { return n->column; }

inline std::string_view text_view(const TreeNode* n) { return n->text; }

// An element's attributes, for range-for.
struct AttributeRange {
  const TreeAttribute* first;
  const TreeAttribute* last;
  const TreeAttribute* begin() const { return first; }
  const TreeAttribute* end() const { return last; }
};
inline AttributeRange attributes_of(const TreeNode* n) {
  return {n->attributes, n->attributes + n->attribute_count};
}

// An attribute of `n` by namespace ("" for unqualified) and local name.
const TreeAttribute* find_attr(const TreeNode* n, std::string_view ns, std::string_view name);
std::optional<std::string_view> attr_text(const TreeNode* n, std::string_view ns, std::string_view name);

// The text and CDATA children of `n`, joined.
std::string child_text(const TreeNode* n);
// All text below `n`, in document order.
std::string deep_text(const TreeNode* n);

// "prefix:local" for messages and tag names.
std::string qualified_name(const TreeNode* n);
std::string qualified_name(const TreeAttribute& a);

}  // namespace tap::xml
