#include "platform/xml/XmlNodes.h"

namespace tap::xml {

const TreeAttribute* find_attr(const TreeNode* n, std::string_view ns, std::string_view name) {
  for (const TreeAttribute& a : attributes_of(n)) {
    if (a.local == name && a.ns == ns) return &a;
  }
  return nullptr;
}

std::optional<std::string_view> attr_text(const TreeNode* n, std::string_view ns, std::string_view name) {
  const TreeAttribute* a = find_attr(n, ns, name);
  if (!a) return std::nullopt;
  return a->value;
}

std::string child_text(const TreeNode* n) {
  std::string out;
  for (const TreeNode* c = n->first_child; c; c = c->next) {
    if (c->is_text()) out += c->text;
  }
  return out;
}

std::string deep_text(const TreeNode* n) {
  std::string out;
  const TreeNode* c = n->first_child;
  while (c) {
    if (c->is_text()) out += c->text;
    if (c->is_element() && c->first_child) {
      c = c->first_child;
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

namespace {

std::string qualified(std::string_view prefix, std::string_view local) {
  std::string out;
  out.reserve(prefix.size() + 1 + local.size());
  if (!prefix.empty()) {
    out = prefix;
    out += ':';
  }
  out += local;
  return out;
}

}  // namespace

std::string qualified_name(const TreeNode* n) { return qualified(n->prefix, n->name); }

std::string qualified_name(const TreeAttribute& a) { return qualified(a.prefix, a.local); }

}  // namespace tap::xml
