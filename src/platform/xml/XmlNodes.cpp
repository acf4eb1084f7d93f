#include "platform/xml/XmlNodes.h"

namespace tap::xml {

int node_line(const xmlNode* n) {
  if (n->type == XML_ELEMENT_NODE) {
    auto packed = reinterpret_cast<std::uintptr_t>(n->_private);
    if (packed >> 32) return static_cast<int>(packed >> 32);
  }
  return static_cast<int>(xmlGetLineNo(n));
}

std::string attr_value(const xmlAttr* a) {
  std::string out;
  for (const xmlNode* c = a->children; c; c = c->next) {
    if (c->type == XML_TEXT_NODE && c->content) out += text_view(c);
  }
  return out;
}

const xmlAttr* find_attr(const xmlNode* n, std::string_view ns, std::string_view name) {
  for (const xmlAttr* a = n->properties; a; a = a->next) {
    if (attr_name(a) == name && attr_ns(a) == ns) return a;
  }
  return nullptr;
}

std::optional<std::string> attr_text(const xmlNode* n, std::string_view ns, std::string_view name) {
  const xmlAttr* a = find_attr(n, ns, name);
  if (!a) return std::nullopt;
  return attr_value(a);
}

std::string child_text(const xmlNode* n) {
  const xmlNode* only = nullptr;
  std::size_t count = 0;
  for (const xmlNode* c = n->children; c; c = c->next) {
    if ((c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) && c->content) {
      only = c;
      ++count;
    }
  }
  if (count == 1) return std::string(text_view(only));
  std::string out;
  for (const xmlNode* c = n->children; c; c = c->next) {
    if ((c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) && c->content) out += text_view(c);
  }
  return out;
}

std::string deep_text(const xmlNode* n) {
  std::string out;
  const xmlNode* c = n->children;
  while (c) {
    if ((c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) && c->content) out += text_view(c);
    if (c->type == XML_ELEMENT_NODE && c->children) {
      c = c->children;
      continue;
    }
    while (c->next == nullptr) {
      c = c->parent;
      if (c == n || c == nullptr) return out;
    }
    c = c->next;
  }
  return out;
}

std::string qualified_name(const xmlNode* n) {
  std::string out;
  if (n->ns && n->ns->prefix) {
    out = view(n->ns->prefix);
    out += ':';
  }
  out += view(n->name);
  return out;
}

std::string qualified_name(const xmlAttr* a) {
  std::string out;
  if (a->ns && a->ns->prefix) {
    out = view(a->ns->prefix);
    out += ':';
  }
  out += view(a->name);
  return out;
}

}  // namespace tap::xml
