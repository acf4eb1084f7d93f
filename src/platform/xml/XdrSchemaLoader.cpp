#include "platform/xml/XdrSchemaLoader.h"

#include <utility>

#include "platform/xml/XmlErrors.h"
#include "platform/xml/XmlNodes.h"

namespace tap::xml {

namespace {

// Thrown inside the loader only, to unwind to load_xdr_schema.
struct SchemaError {
  ParseResult result;
};

[[noreturn]] void fail(const TreeNode* at, XmlError error, std::initializer_list<std::string_view> args) {
  throw SchemaError{make_error(error, at ? node_line(at) : 0, at ? node_column(at) : 0, args)};
}

bool is_xdr(const TreeNode* n, std::string_view name) {
  return n->is_element() && node_ns(n) == kXdrNamespace && node_name(n) == name;
}

std::optional<std::string> text_of(std::optional<std::string_view> v) {
  return v ? std::optional<std::string>(std::string(*v)) : std::nullopt;
}
std::optional<std::string> plain(const TreeNode* n, std::string_view name) { return text_of(attr_text(n, "", name)); }
std::optional<std::string> dt(const TreeNode* n, std::string_view name) {
  return text_of(attr_text(n, kDatatypesNamespace, name));
}

// A type reference "name" or "prefix:name"; the prefix names another
// namespace through the schema document's declarations.
std::pair<std::string, std::string> resolve_ref(const TreeNode* n, const std::string& ref) {
  auto colon = ref.find(':');
  if (colon == std::string::npos) return {"", ref};
  std::string_view ns = lookup_namespace(n, std::string_view(ref).substr(0, colon));
  if (ns.empty()) fail(n, XmlError::SchemaUnknownPrefix, {ref, node_name(n)});
  return {std::string(ns), ref.substr(colon + 1)};
}

// occurs := "0" | "1" (min) ; "1" | "*" (max)
void read_occurrence(const TreeNode* n, Particle& p, bool* has_max) {
  if (auto min = plain(n, "minOccurs")) {
    if (*min != "0" && *min != "1") fail(n, XmlError::SchemaBadValue, {*min, "minOccurs", node_name(n)});
    p.optional = *min == "0";
  }
  if (auto max = plain(n, "maxOccurs")) {
    if (*max != "1" && *max != "*") fail(n, XmlError::SchemaBadValue, {*max, "maxOccurs", node_name(n)});
    p.repeat = *max == "*";
    if (has_max) *has_max = true;
  }
}

std::optional<Order> read_order(const TreeNode* n) {
  auto order = plain(n, "order");
  if (!order) return std::nullopt;
  if (*order == "seq") return Order::Seq;
  if (*order == "one") return Order::One;
  if (*order == "many") return Order::Many;
  fail(n, XmlError::SchemaBadValue, {*order, "order", node_name(n)});
}

// dt:type on the declaration, or on a <datatype> child.
std::optional<DataType> read_type(const TreeNode* n, const std::string& owner) {
  std::optional<std::string> name = dt(n, "type");
  const TreeNode* at = n;
  for (const TreeNode* c = n->first_child; c; c = c->next) {
    if (is_xdr(c, "datatype")) {
      name = dt(c, "type");
      at = c;
    }
  }
  if (!name) return std::nullopt;
  auto type = datatype_from_name(*name);
  if (!type) fail(at, XmlError::SchemaUnknownType, {*name, owner});
  return type;
}

std::optional<std::size_t> read_length(const TreeNode* n, std::string_view attr) {
  auto text = dt(n, attr);
  if (!text) return std::nullopt;
  std::string_view v = trim_xml_space(*text);
  if (v.empty() || v.size() > 9 || v.find_first_not_of("0123456789") != std::string_view::npos) {
    fail(n, XmlError::SchemaBadValue, {*text, std::string("dt:") + std::string(attr), node_name(n)});
  }
  return static_cast<std::size_t>(std::stoul(std::string(v)));
}

bool read_yes_no(const TreeNode* n, const std::string& v) {
  if (v != "yes" && v != "no") fail(n, XmlError::SchemaBadValue, {v, "required", node_name(n)});
  return v == "yes";
}

// Whether `value` fits the attribute type; the reason otherwise.
std::optional<std::string> check_default(const AttributeDecl& decl, const std::string& value) {
  DataType type = decl.type.value_or(DataType::String);
  if (!is_valid_value(type, value)) return "not a valid " + std::string(datatype_name(type));
  if (type == DataType::Enumeration) {
    bool found = false;
    for (const auto& v : decl.values) found = found || v == trim_xml_space(value);
    if (!found) return std::string("not one of dt:values");
  }
  return std::nullopt;
}

// AttributeType := <AttributeType name [dt:type] [dt:values] [default]
//                   [required] [dt:maxLength] [dt:minLength]> (datatype | description)*
std::unique_ptr<AttributeDecl> read_attribute_type(const TreeNode* n) {
  auto decl = std::make_unique<AttributeDecl>();
  auto name = plain(n, "name");
  if (!name || name->empty()) fail(n, XmlError::SchemaNoName, {"AttributeType"});
  decl->name = *name;
  decl->line = node_line(n);
  std::string owner = "AttributeType '" + decl->name + "'";
  decl->type = read_type(n, owner);
  if (auto values = dt(n, "values")) {
    std::string_view v = *values;
    std::size_t i = 0;
    while (i < v.size()) {
      while (i < v.size() && is_xml_space(v[i])) ++i;
      std::size_t b = i;
      while (i < v.size() && !is_xml_space(v[i])) ++i;
      if (i > b) decl->values.emplace_back(v.substr(b, i - b));
    }
  }
  bool is_enum = decl->type == DataType::Enumeration;
  if (is_enum && decl->values.empty()) fail(n, XmlError::SchemaEnumWithoutValues, {decl->name});
  if (!is_enum && dt(n, "values")) fail(n, XmlError::SchemaValuesWithoutEnum, {decl->name});
  if (auto req = plain(n, "required")) decl->required = read_yes_no(n, *req);
  decl->default_value = plain(n, "default");
  decl->max_length = read_length(n, "maxLength");
  decl->min_length = read_length(n, "minLength");
  if (decl->default_value) {
    if (auto why = check_default(*decl, *decl->default_value)) {
      fail(n, XmlError::SchemaBadDefault, {*decl->default_value, decl->name, *why});
    }
  }
  for (const TreeNode* c = n->first_child; c; c = c->next) {
    if (!c->is_element() || node_ns(c) != kXdrNamespace) continue;
    if (!is_xdr(c, "datatype") && !is_xdr(c, "description")) fail(c, XmlError::SchemaUnexpected, {node_name(c), owner});
  }
  return decl;
}

class Loader {
 public:
  Loader(XdrSchema& schema, std::string_view ns) : schema_(schema), ns_(ns) {}

  // Schema := <Schema> (ElementType | AttributeType | description)* </Schema>
  void load(const TreeNode* root) {
    if (!root || !is_xdr(root, "Schema")) fail(root, XmlError::SchemaRoot, {});
    for (const TreeNode* c = root->first_child; c; c = c->next) {
      if (!c->is_element() || node_ns(c) != kXdrNamespace) continue;
      if (is_xdr(c, "ElementType")) {
        auto decl = read_element_type(c);
        std::string name = decl->name;
        if (!schema_.elements.emplace(name, std::move(decl)).second) {
          fail(c, XmlError::SchemaDuplicate, {"ElementType", name});
        }
      } else if (is_xdr(c, "AttributeType")) {
        auto decl = read_attribute_type(c);
        std::string name = decl->name;
        if (!schema_.attributes.emplace(name, std::move(decl)).second) {
          fail(c, XmlError::SchemaDuplicate, {"AttributeType", name});
        }
      } else if (!is_xdr(c, "description")) {
        fail(c, XmlError::SchemaUnexpected, {node_name(c), "Schema"});
      }
    }
    // Forward references are allowed, so names resolve only now.
    for (auto& [name, decl] : schema_.elements) resolve(*decl);
  }

 private:
  struct PendingUse {
    const TreeNode* node;
    ElementDecl* owner;
  };

  // ElementType := <ElementType name [content] [order] [model] [dt:type]>
  //   (AttributeType | attribute | element | group | datatype | description)*
  std::unique_ptr<ElementDecl> read_element_type(const TreeNode* n) {
    auto decl = std::make_unique<ElementDecl>();
    auto name = plain(n, "name");
    if (!name || name->empty()) fail(n, XmlError::SchemaNoName, {"ElementType"});
    decl->name = *name;
    decl->line = node_line(n);
    std::string owner = "ElementType '" + decl->name + "'";
    decl->type = read_type(n, owner);

    auto content = plain(n, "content");
    std::optional<Order> order = read_order(n);
    if (content) {
      if (*content == "empty") decl->content = Content::Empty;
      else if (*content == "textOnly") decl->content = Content::TextOnly;
      else if (*content == "eltOnly") decl->content = Content::EltOnly;
      else if (*content == "mixed") decl->content = Content::Mixed;
      else fail(n, XmlError::SchemaBadValue, {*content, "content", "ElementType"});
    } else if (order && *order != Order::Many) {
      decl->content = Content::EltOnly;
    }
    if (decl->type) {
      if (content && decl->content != Content::TextOnly) fail(n, XmlError::SchemaTypedContent, {decl->name});
      decl->content = Content::TextOnly;
    }
    if (decl->content == Content::Mixed && order && *order != Order::Many) {
      fail(n, XmlError::SchemaMixedOrder, {decl->name});
    }
    decl->order = decl->content == Content::Mixed ? Order::Many : order.value_or(Order::Seq);

    auto model = plain(n, "model");
    if (model && *model != "open" && *model != "closed") fail(n, XmlError::SchemaBadValue, {*model, "model", "ElementType"});
    if (decl->content == Content::Empty && model == "open") fail(n, XmlError::SchemaEmptyOpen, {decl->name});
    decl->open = decl->content != Content::Empty && decl->content != Content::TextOnly && model != "closed";

    decl->particle.is_group = true;
    decl->particle.order = decl->order;
    decl->particle.line = decl->line;
    for (const TreeNode* c = n->first_child; c; c = c->next) {
      if (!c->is_element() || node_ns(c) != kXdrNamespace) continue;
      if (is_xdr(c, "AttributeType")) {
        auto local = read_attribute_type(c);
        if (decl->find_local_type(local->name)) fail(c, XmlError::SchemaDuplicate, {"AttributeType", local->name});
        decl->local_types.push_back(std::move(local));
      } else if (is_xdr(c, "attribute")) {
        pending_uses_.push_back({c, decl.get()});
      } else if (is_xdr(c, "element") || is_xdr(c, "group")) {
        if (decl->content == Content::Empty || decl->content == Content::TextOnly) {
          fail(c, XmlError::SchemaNoChildren, {decl->name, decl->content == Content::Empty ? "empty" : "textOnly"});
        }
        decl->particle.items.push_back(read_particle(c, *decl));
      } else if (!is_xdr(c, "datatype") && !is_xdr(c, "description")) {
        fail(c, XmlError::SchemaUnexpected, {node_name(c), owner});
      }
    }
    if (decl->content == Content::EltOnly && !decl->open && decl->particle.items.empty()) {
      fail(n, XmlError::SchemaClosedNoElements, {decl->name});
    }
    return decl;
  }

  // element := <element type [minOccurs] [maxOccurs]/>
  // group   := <group [order] [minOccurs] [maxOccurs]> (element | group | description)+ </group>
  Particle read_particle(const TreeNode* n, ElementDecl& owner) {
    Particle p;
    p.line = node_line(n);
    bool has_max = false;
    if (owner.content != Content::Mixed) read_occurrence(n, p, &has_max);
    if (is_xdr(n, "element")) {
      auto type = plain(n, "type");
      if (!type || type->empty()) fail(n, XmlError::SchemaNoName, {"element"});
      std::tie(p.ns, p.name) = resolve_ref(n, *type);
      if (p.ns.empty()) {
        refs_.push_back({n, &owner, p.name});
        p.ns = ns_;
      }
      return p;
    }
    p.is_group = true;
    p.order = read_order(n).value_or(Order::Seq);
    if (owner.content == Content::Mixed) {
      read_occurrence(n, p, &has_max);
      p.optional = false;
      p.repeat = false;
      if (p.order != Order::Many) fail(n, XmlError::SchemaMixedGroup, {owner.name});
    }
    if (p.order == Order::Many && has_max && !p.repeat) fail(n, XmlError::SchemaManyMaxOccurs, {owner.name});
    for (const TreeNode* c = n->first_child; c; c = c->next) {
      if (!c->is_element() || node_ns(c) != kXdrNamespace) continue;
      if (is_xdr(c, "element") || is_xdr(c, "group")) {
        p.items.push_back(read_particle(c, owner));
      } else if (!is_xdr(c, "description")) {
        fail(c, XmlError::SchemaUnexpected, {node_name(c), "group"});
      }
    }
    if (p.items.empty()) fail(n, XmlError::SchemaEmptyGroup, {owner.name});
    return p;
  }

  // attribute := <attribute type [default] [required]/>; the type is the
  // ElementType's own AttributeType first, then a top-level one.
  void resolve_use(const PendingUse& pending) {
    const TreeNode* n = pending.node;
    ElementDecl& owner = *pending.owner;
    auto type = plain(n, "type");
    if (!type || type->empty()) fail(n, XmlError::SchemaNoName, {"attribute"});
    AttributeUse use;
    use.line = node_line(n);
    std::tie(use.ns, use.name) = resolve_ref(n, *type);
    if (use.ns.empty()) {
      use.decl = owner.find_local_type(use.name);
      if (!use.decl) use.decl = schema_.find_attribute(use.name);
      if (!use.decl) fail(n, XmlError::SchemaUnresolvedAttribute, {owner.name, use.name});
    }
    if (owner.find_attribute(use.ns, use.name)) fail(n, XmlError::SchemaDuplicateAttribute, {owner.name, *type});
    use.required = use.decl && use.decl->required;
    if (auto req = plain(n, "required")) use.required = read_yes_no(n, *req);
    if (use.decl) use.default_value = use.decl->default_value;
    if (auto def = plain(n, "default")) use.default_value = def;
    if (use.decl && use.default_value) {
      if (auto why = check_default(*use.decl, *use.default_value)) {
        fail(n, XmlError::SchemaBadDefault, {*use.default_value, use.name, *why});
      }
    }
    owner.attributes.push_back(std::move(use));
  }

  void resolve(ElementDecl& decl) {
    for (const auto& pending : pending_uses_) {
      if (pending.owner == &decl) resolve_use(pending);
    }
    for (const auto& ref : refs_) {
      if (ref.owner == &decl && !schema_.find_element(ref.name)) {
        fail(ref.node, XmlError::SchemaUnresolvedElement, {decl.name, ref.name});
      }
    }
    decl.model = ContentModel(decl.particle);
  }

  struct Ref {
    const TreeNode* node;
    const ElementDecl* owner;
    std::string name;
  };

  XdrSchema& schema_;
  std::string ns_;
  std::vector<PendingUse> pending_uses_;
  std::vector<Ref> refs_;
};

}  // namespace

ParseResult load_xdr_schema(const TreeNode* root, std::string_view ns, XdrSchema& schema) {
  try {
    Loader(schema, ns).load(root);
  } catch (const SchemaError& e) {
    return e.result;
  }
  return {};
}

}  // namespace tap::xml
