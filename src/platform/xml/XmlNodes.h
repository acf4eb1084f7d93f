#pragma once
// Small accessors over libxml2 nodes shared by the schema loader, the
// validator and the DOM views.
#include <libxml/tree.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/xml/XmlText.h"

namespace tap::xml {

inline std::string_view node_name(const xmlNode* n) { return view(n->name); }
inline std::string_view node_ns(const xmlNode* n) { return n->ns ? view(n->ns->href) : std::string_view(); }
inline std::string_view attr_ns(const xmlAttr* a) { return a->ns ? view(a->ns->href) : std::string_view(); }
inline std::string_view attr_name(const xmlAttr* a) { return view(a->name); }

// The 1-based line and column of an element's start tag; the parser keeps
// them in the node's application pointer (line in the high half). 0 when
// unknown.
int node_line(const xmlNode* n);
inline int node_column(const xmlNode* n) {
  if (n->type != XML_ELEMENT_NODE) return 0;
  return static_cast<int>(reinterpret_cast<std::uintptr_t>(n->_private) & 0xFFFFFFFFu);
}

// A text node's content. The parser keeps the length of the text nodes it
// builds in the node's application pointer, so that a node of hundreds of
// megabytes is not measured again by each reader.
inline std::string_view text_view(const xmlNode* n) {
  auto length = reinterpret_cast<std::uintptr_t>(n->_private);
  if (n->type == XML_TEXT_NODE && length != 0 && n->content) {
    return {reinterpret_cast<const char*>(n->content), static_cast<std::size_t>(length)};
  }
  return view(n->content);
}

// The text of an attribute node (its text children joined).
std::string attr_value(const xmlAttr* a);
// An attribute of `n` by namespace ("" for unqualified) and local name.
const xmlAttr* find_attr(const xmlNode* n, std::string_view ns, std::string_view name);
std::optional<std::string> attr_text(const xmlNode* n, std::string_view ns, std::string_view name);

// The text and CDATA children of `n`, joined.
std::string child_text(const xmlNode* n);
// All text below `n`, in document order.
std::string deep_text(const xmlNode* n);

// "prefix:local" for messages and tag names.
std::string qualified_name(const xmlNode* n);
std::string qualified_name(const xmlAttr* a);

}  // namespace tap::xml
