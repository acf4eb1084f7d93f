#include <algorithm>

#include "platform/xml/DocumentImpl.h"
#include "platform/xml/XmlNodes.h"
#include "platform/xml/XmlText.h"

namespace tap::xml {

namespace {

const TreeNode* as_node(const void* p) { return static_cast<const TreeNode*>(p); }
void* handle(const TreeNode* n) { return const_cast<TreeNode*>(n); }

const ElementDecl* declaration(const TreeNode* n, const Document* doc) {
  if (!doc || !doc->schemas()) return nullptr;
  return doc->schemas()->impl().element(node_ns(n), node_name(n));
}

TypedValue typed(std::optional<DataType> type, std::string_view text) {
  if (type == DataType::BinHex || type == DataType::BinBase64) {
    auto bytes = type == DataType::BinHex ? decode_bin_hex(text) : decode_base64(text);
    if (!bytes) return std::monostate{};
    return std::move(*bytes);
  }
  if (type == DataType::Boolean) {
    auto b = decode_boolean(text);
    if (!b) return std::monostate{};
    return *b;
  }
  return utf8_to_utf16(text);
}

// A name asked for, in UTF-8. The loader asks for short ASCII names, one
// lookup after another, so those are narrowed without an allocation.
class NarrowName {
 public:
  explicit NarrowName(std::u16string_view name) {
    if (name.size() <= sizeof ascii_ &&
        std::all_of(name.begin(), name.end(), [](char16_t c) { return c < 0x80; })) {
      std::copy(name.begin(), name.end(), ascii_);
      view_ = {ascii_, name.size()};
    } else {
      utf8_ = utf16_to_utf8(name);
      view_ = utf8_;
    }
  }
  NarrowName(const NarrowName&) = delete;
  NarrowName& operator=(const NarrowName&) = delete;
  std::string_view view() const { return view_; }

 private:
  char ascii_[64];
  std::string utf8_;
  std::string_view view_;
};

// "name" or "prefix:name" to a namespace and local name, the prefix
// resolved in the element's scope; nullopt for an unbound prefix.
std::optional<std::pair<std::string_view, std::string_view>> split_name(const TreeNode* n, std::string_view name) {
  auto colon = name.find(':');
  if (colon == std::string_view::npos) return std::make_pair(std::string_view(), name);
  std::string_view ns = lookup_namespace(n, name.substr(0, colon));
  if (ns.empty()) return std::nullopt;
  return std::make_pair(ns, name.substr(colon + 1));
}

// Child elements of `self` named `local` in its own namespace.
template <typename Visit>
void for_children(const TreeNode* self, std::u16string_view name, Visit visit) {
  NarrowName local(name);
  for (const TreeNode* c = self->first_child; c; c = c->next) {
    if (c->is_element() && c->name == local.view() && c->ns == self->ns && !visit(c)) return;
  }
}

}  // namespace

bool Node::is_element() const { return node_ && as_node(node_)->is_element(); }

Element Node::as_element() const { return is_element() ? Element(node_, doc_) : Element(); }

std::u16string Element::namespace_uri() const { return node_ ? utf8_to_utf16(node_ns(as_node(node_))) : u""; }

std::u16string Element::tag_name() const { return node_ ? utf8_to_utf16(qualified_name(as_node(node_))) : u""; }

std::u16string Element::local_name() const { return node_ ? utf8_to_utf16(node_name(as_node(node_))) : u""; }

std::vector<Element> Element::children(std::u16string_view name) const {
  std::vector<Element> out;
  if (!node_) return out;
  for_children(as_node(node_), name, [&](const TreeNode* c) {
    out.push_back(Element(handle(c), doc_));
    return true;
  });
  return out;
}

Element Element::first_child(std::u16string_view name) const {
  Element found;
  if (!node_) return found;
  for_children(as_node(node_), name, [&](const TreeNode* c) {
    found = Element(handle(c), doc_);
    return false;
  });
  return found;
}

std::vector<Node> Element::child_nodes() const {
  std::vector<Node> out;
  if (!node_) return out;
  for (const TreeNode* c = as_node(node_)->first_child; c; c = c->next) out.push_back(Node(handle(c), doc_));
  return out;
}

Node Element::first_child_node() const {
  if (!node_ || !as_node(node_)->first_child) return {};
  return Node(handle(as_node(node_)->first_child), doc_);
}

std::optional<std::u16string> Element::attribute(std::u16string_view name) const {
  Attribute a = attribute_node(name);
  if (!a) return std::nullopt;
  return a.text();
}

Attribute Element::attribute_node(std::u16string_view name) const {
  if (!node_) return {};
  const TreeNode* self = as_node(node_);
  NarrowName narrow(name);
  auto split = split_name(self, narrow.view());
  if (!split) return {};
  if (const TreeAttribute* a = find_attr(self, split->first, split->second)) {
    return Attribute(const_cast<TreeAttribute*>(a), node_, doc_);
  }
  if (const ElementDecl* decl = declaration(self, doc_)) {
    const AttributeUse* use = decl->find_attribute(split->first, split->second);
    if (use && use->default_value) {
      Attribute d(nullptr, node_, doc_);
      d.default_ = use;
      return d;
    }
  }
  return {};
}

// The type: an element of the datatypes namespace names it, then the
// instance's dt:dt, then the schema's ElementType.
TypedValue Element::typed_value() const {
  if (!node_) return std::monostate{};
  const TreeNode* self = as_node(node_);
  std::optional<DataType> type;
  if (node_ns(self) == kDatatypesNamespace) {
    type = datatype_from_name(node_name(self));
  } else if (auto dt = attr_text(self, kDatatypesNamespace, "dt")) {
    type = datatype_from_name(trim_xml_space(*dt));
  } else if (const ElementDecl* decl = declaration(self, doc_)) {
    type = decl->type;
  }
  if (type == DataType::BinHex && doc_) {
    DecodedBytes& decoded = doc_->impl().decoded;
    if (auto it = decoded.find(self); it != decoded.end()) {
      std::string bytes = std::move(it->second);
      decoded.erase(it);
      return bytes;
    }
  }
  if (self->first_child && !self->first_child->next && self->first_child->is_text()) {
    return typed(type, text_view(self->first_child));
  }
  return typed(type, deep_text(self));
}

std::optional<std::u16string> Element::data_type() const {
  if (!node_) return std::nullopt;
  auto dt = attr_text(as_node(node_), kDatatypesNamespace, "dt");
  if (!dt) return std::nullopt;
  return utf8_to_utf16(*dt);
}

std::u16string Element::text() const { return node_ ? utf8_to_utf16(deep_text(as_node(node_))) : u""; }

int Element::line() const { return node_ ? node_line(as_node(node_)) : 0; }

int Element::column() const { return node_ ? node_column(as_node(node_)) : 0; }

std::u16string Attribute::text() const {
  if (attr_) return utf8_to_utf16(attr_value(*static_cast<const TreeAttribute*>(attr_)));
  if (default_) return utf8_to_utf16(*static_cast<const AttributeUse*>(default_)->default_value);
  return u"";
}

TypedValue Attribute::typed_value() const {
  const AttributeUse* use = static_cast<const AttributeUse*>(default_);
  std::string_view text;
  if (attr_) {
    const auto& a = *static_cast<const TreeAttribute*>(attr_);
    text = attr_value(a);
    if (const ElementDecl* decl = declaration(as_node(owner_), doc_)) use = decl->find_attribute(attr_ns(a), attr_name(a));
    if (!use && !a.ns.empty() && doc_ && doc_->schemas()) {
      if (const XdrSchema* foreign = doc_->schemas()->impl().find(attr_ns(a))) {
        if (const AttributeDecl* g = foreign->find_attribute(attr_name(a))) return typed(g->type, text);
      }
    }
  } else if (use) {
    text = *use->default_value;
  } else {
    return std::monostate{};
  }
  return typed(use && use->decl ? use->decl->type : std::nullopt, text);
}

}  // namespace tap::xml
