#include "platform/xml/DocumentImpl.h"
#include "platform/xml/XmlNodes.h"
#include "platform/xml/XmlText.h"

namespace tap::xml {

namespace {

xmlNode* as_node(void* p) { return static_cast<xmlNode*>(p); }

const ElementDecl* declaration(const xmlNode* n, const Document* doc) {
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

// "name" or "prefix:name" to a namespace and local name, the prefix
// resolved in the element's scope.
std::optional<std::pair<std::string, std::string>> split_name(const xmlNode* n, std::u16string_view name) {
  std::string utf8 = utf16_to_utf8(name);
  auto colon = utf8.find(':');
  if (colon == std::string::npos) return std::make_pair(std::string(), utf8);
  std::string prefix = utf8.substr(0, colon);
  xmlNs* ns = xmlSearchNs(n->doc, const_cast<xmlNode*>(n), reinterpret_cast<const xmlChar*>(prefix.c_str()));
  if (!ns || !ns->href) return std::nullopt;
  return std::make_pair(std::string(view(ns->href)), utf8.substr(colon + 1));
}

}  // namespace

bool Node::is_element() const { return node_ && as_node(node_)->type == XML_ELEMENT_NODE; }

Element Node::as_element() const { return is_element() ? Element(node_, doc_) : Element(); }

std::u16string Element::namespace_uri() const { return node_ ? utf8_to_utf16(node_ns(as_node(node_))) : u""; }

std::u16string Element::tag_name() const { return node_ ? utf8_to_utf16(qualified_name(as_node(node_))) : u""; }

std::u16string Element::local_name() const { return node_ ? utf8_to_utf16(node_name(as_node(node_))) : u""; }

std::vector<Element> Element::children(std::u16string_view name) const {
  std::vector<Element> out;
  if (!node_) return out;
  const xmlNode* self = as_node(node_);
  std::string local = utf16_to_utf8(name);
  std::string_view ns = node_ns(self);
  for (xmlNode* c = self->children; c; c = c->next) {
    if (c->type == XML_ELEMENT_NODE && node_name(c) == local && node_ns(c) == ns) out.push_back(Element(c, doc_));
  }
  return out;
}

Element Element::first_child(std::u16string_view name) const {
  if (!node_) return {};
  const xmlNode* self = as_node(node_);
  std::string local = utf16_to_utf8(name);
  std::string_view ns = node_ns(self);
  for (xmlNode* c = self->children; c; c = c->next) {
    if (c->type == XML_ELEMENT_NODE && node_name(c) == local && node_ns(c) == ns) return Element(c, doc_);
  }
  return {};
}

std::vector<Node> Element::child_nodes() const {
  std::vector<Node> out;
  if (!node_) return out;
  for (xmlNode* c = as_node(node_)->children; c; c = c->next) out.push_back(Node(c, doc_));
  return out;
}

Node Element::first_child_node() const {
  if (!node_ || !as_node(node_)->children) return {};
  return Node(as_node(node_)->children, doc_);
}

std::optional<std::u16string> Element::attribute(std::u16string_view name) const {
  Attribute a = attribute_node(name);
  if (!a) return std::nullopt;
  return a.text();
}

Attribute Element::attribute_node(std::u16string_view name) const {
  if (!node_) return {};
  const xmlNode* self = as_node(node_);
  auto split = split_name(self, name);
  if (!split) return {};
  if (const xmlAttr* a = find_attr(self, split->first, split->second)) {
    return Attribute(const_cast<xmlAttr*>(a), node_, doc_);
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
  const xmlNode* self = as_node(node_);
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
  if (self->children && !self->children->next && self->children->type == XML_TEXT_NODE) {
    return typed(type, text_view(self->children));
  }
  return typed(type, deep_text(self));
}

std::u16string Element::text() const { return node_ ? utf8_to_utf16(deep_text(as_node(node_))) : u""; }

int Element::line() const { return node_ ? node_line(as_node(node_)) : 0; }

int Element::column() const { return node_ ? node_column(as_node(node_)) : 0; }

std::u16string Attribute::text() const {
  if (attr_) return utf8_to_utf16(attr_value(static_cast<const xmlAttr*>(attr_)));
  if (default_) return utf8_to_utf16(*static_cast<const AttributeUse*>(default_)->default_value);
  return u"";
}

TypedValue Attribute::typed_value() const {
  const AttributeUse* use = static_cast<const AttributeUse*>(default_);
  std::string text;
  if (attr_) {
    auto a = static_cast<const xmlAttr*>(attr_);
    text = attr_value(a);
    if (const ElementDecl* decl = declaration(as_node(owner_), doc_)) use = decl->find_attribute(attr_ns(a), attr_name(a));
    if (!use && a->ns && doc_ && doc_->schemas()) {
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
