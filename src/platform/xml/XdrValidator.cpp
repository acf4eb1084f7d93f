#include "platform/xml/XdrValidator.h"

#include "platform/os/pages.h"
#include "platform/xml/BinHex.h"
#include "platform/xml/ValueHint.h"
#include "platform/xml/XmlErrors.h"
#include "platform/xml/XmlNodes.h"

namespace tap::xml {

namespace {

std::string element_subject(const TreeNode* n) { return "element '" + qualified_name(n) + "'"; }

std::string attribute_subject(const TreeNode* n, const TreeAttribute& a) {
  return "attribute '" + qualified_name(a) + "' of element '" + qualified_name(n) + "'";
}

constexpr std::size_t kClockEvery = 1024;

}  // namespace

bool XdrValidator::fail(const TreeNode* at, XmlError error, std::initializer_list<std::string_view> args) {
  result_ = make_error(error, node_line(at), node_column(at), args);
  result_.element = std::string(node_name(at));
  return false;
}

bool XdrValidator::bad_value(const TreeNode* at, DataType type, std::string_view text,
                             const std::string& subject) {
  std::string hint = value_hint(type, text);
  if (!hint.empty()) hint = ": " + hint;
  return fail(at, XmlError::BadValue, {quote_value(text), datatype_name(type), subject, hint});
}

bool XdrValidator::in_time(const TreeNode* at) {
  if (elements_++ % kClockEvery != 0 || std::chrono::steady_clock::now() < deadline_) return true;
  return fail(at, XmlError::TimeLimit, {});
}

const XdrSchema* XdrValidator::schema_for(std::string_view ns) { return cache_.find(ns); }

ParseResult XdrValidator::validate(const TreeNode* root) {
  result_ = {};
  if (!root) return make_error(XmlError::NotLoaded, 0, 0);
  if (!in_time(root)) return result_;
  const XdrSchema* schema = schema_for(node_ns(root));
  if (!schema) {
    fail(root, XmlError::NoSchema, {node_ns(root), qualified_name(root)});
    return result_;
  }
  const ElementDecl* decl = schema->find_element(node_name(root));
  if (!decl) {
    fail(root, XmlError::UndeclaredElement, {qualified_name(root), node_ns(root)});
    return result_;
  }
  if (element(root, *decl)) check_references();
  return result_;
}

// idrefs may point forward, so they are resolved once the walk is done.
bool XdrValidator::check_references() {
  for (const auto& ref : idrefs_) {
    std::string_view v = ref.value;
    std::size_t i = 0;
    while (i < v.size()) {
      while (i < v.size() && is_xml_space(v[i])) ++i;
      std::size_t b = i;
      while (i < v.size() && !is_xml_space(v[i])) ++i;
      if (i > b && !ids_.count(std::string(v.substr(b, i - b)))) {
        std::string subject = ref.attr ? attribute_subject(ref.at, *ref.attr) : element_subject(ref.at);
        return fail(ref.at, XmlError::UnknownIdRef, {quote_value(v.substr(b, i - b)), subject});
      }
    }
  }
  return true;
}

bool XdrValidator::element(const TreeNode* n, const ElementDecl& decl) {
  if (!in_time(n) || !attributes(n, decl)) return false;
  switch (decl.content) {
    case Content::Empty:
      for (const TreeNode* c = n->first_child; c; c = c->next) {
        if (c->is_element()) return fail(c, XmlError::NotEmpty, {qualified_name(n), qualified_name(c)});
        if (c->is_text()) return fail(n, XmlError::NotEmpty, {qualified_name(n), "text"});
      }
      return true;
    case Content::TextOnly:
      for (const TreeNode* c = n->first_child; c; c = c->next) {
        if (c->is_element()) {
          return fail(c, XmlError::ChildNotAllowed, {qualified_name(n), qualified_name(c)});
        }
      }
      if (!decl.type) return true;
      if (n->first_child && !n->first_child->next && n->first_child->is_text()) {
        return value(n, nullptr, text_view(n->first_child), nullptr, decl.type);
      }
      return value(n, nullptr, child_text(n), nullptr, decl.type);
    case Content::EltOnly:
    case Content::Mixed:
      return element_content(n, decl);
  }
  return true;
}

// Children against the compiled model. Under the open model, once the
// model has been satisfied, any further element is an "extra": it needs a
// declaration only when its namespace has a schema.
bool XdrValidator::element_content(const TreeNode* n, const ElementDecl& decl) {
  ContentModel::State state;
  bool satisfied = false;
  for (const TreeNode* c = n->first_child; c; c = c->next) {
    if (c->is_text()) {
      if (decl.content == Content::EltOnly && (c->kind == NodeKind::CData || !is_all_xml_space(c->text))) {
        return fail(n, XmlError::TextNotAllowed, {qualified_name(n)});
      }
      continue;
    }
    if (!c->is_element()) continue;
    if (!satisfied && decl.open && decl.model.accepting(state)) satisfied = true;
    if (!satisfied && !decl.model.step(state, node_ns(c), node_name(c))) {
      return fail(c, XmlError::UnexpectedElement, {qualified_name(c), qualified_name(n), decl.model.expected(state)});
    }
    if (!child(c)) return false;
  }
  if (!satisfied && !decl.model.accepting(state)) {
    return fail(n, XmlError::IncompleteContent, {qualified_name(n), decl.model.expected(state)});
  }
  return true;
}

// A child is validated against its own ElementType; in a namespace without
// a schema its subtree is left alone.
bool XdrValidator::child(const TreeNode* c) {
  const XdrSchema* schema = schema_for(node_ns(c));
  if (!schema) return true;
  const ElementDecl* decl = schema->find_element(node_name(c));
  if (!decl) return fail(c, XmlError::UndeclaredElement, {qualified_name(c), node_ns(c)});
  return element(c, *decl);
}

bool XdrValidator::attributes(const TreeNode* n, const ElementDecl& decl) {
  for (const TreeAttribute& a : attributes_of(n)) {
    std::string_view ns = attr_ns(a);
    std::string_view name = attr_name(a);
    // xml:space and xml:lang belong to XML itself, like xmlns.
    if (ns == kXmlNamespace) continue;
    if (ns == kDatatypesNamespace && name == "dt") {
      std::string_view text = attr_value(a);
      if (!datatype_from_name(trim_xml_space(text))) {
        return fail(n, XmlError::BadDataTypeName, {quote_value(text), qualified_name(n)});
      }
      continue;
    }
    const AttributeUse* use = decl.find_attribute(ns, name);
    const AttributeDecl* type = use ? use->decl : nullptr;
    if (!use) {
      if (ns.empty() || !decl.open) {
        return fail(n, XmlError::UndeclaredAttribute, {qualified_name(a), qualified_name(n)});
      }
    }
    if (!type && !ns.empty()) {
      if (const XdrSchema* foreign = schema_for(ns)) {
        type = foreign->find_attribute(name);
        if (!type) return fail(n, XmlError::UndeclaredAttribute, {qualified_name(a), qualified_name(n)});
      }
    }
    if (!attribute(n, a, type, use)) return false;
  }
  for (const auto& use : decl.attributes) {
    if (use.required && !use.default_value && !find_attr(n, use.ns, use.name)) {
      return fail(n, XmlError::MissingAttribute, {qualified_name(n), use.name});
    }
  }
  return true;
}

bool XdrValidator::attribute(const TreeNode* n, const TreeAttribute& a, const AttributeDecl* decl,
                             const AttributeUse* use) {
  if (!decl) return true;
  std::string_view text = attr_value(a);
  if (!value(n, &a, text, decl, decl->type)) return false;
  if (use && use->required && use->default_value) {
    bool is_string = !decl->type || *decl->type == DataType::String;
    std::string_view actual = is_string ? text : trim_xml_space(text);
    std::string_view fixed = is_string ? std::string_view(*use->default_value) : trim_xml_space(*use->default_value);
    if (actual != fixed) return fail(n, XmlError::FixedAttribute, {qualified_name(a), qualified_name(n), fixed});
  }
  return true;
}

// bin.hex takes no facets, so a decoded value needs no further check.
bool XdrValidator::decode_ahead(const TreeNode* n, std::string_view text) {
  std::string_view digits = trim_xml_space(text);
  if (digits.size() % 2 != 0) return false;
  std::string bytes;
  bytes.reserve(digits.size() / 2);
  os::advise_large_pages(bytes.data(), bytes.capacity());
  bytes.resize(digits.size() / 2);
  if (!decode_bin_hex_into(digits, bytes.data())) return false;
  (*decoded_)[n] = std::move(bytes);
  return true;
}

bool XdrValidator::value(const TreeNode* n, const TreeAttribute* a, std::string_view text,
                         const AttributeDecl* facets, std::optional<DataType> type) {
  auto subject = [&] { return a ? attribute_subject(n, *a) : element_subject(n); };
  const TreeNode* at = n;
  DataType t = type.value_or(DataType::String);
  if (t == DataType::BinHex && !a && decoded_ && text.size() >= kDecodeAhead) {
    if (decode_ahead(n, text)) return true;
    return bad_value(at, t, text, subject());
  }
  if (!is_valid_value(t, text)) return bad_value(at, t, text, subject());
  if (t == DataType::Id && !ids_.emplace(trim_xml_space(text)).second) {
    return fail(at, XmlError::DuplicateId, {quote_value(trim_xml_space(text)), subject()});
  }
  if (t == DataType::IdRef || t == DataType::IdRefs) idrefs_.push_back({n, a, std::string(text)});
  if (!facets) return true;
  if (t == DataType::Enumeration) {
    std::string_view token = trim_xml_space(text);
    bool found = false;
    std::string list;
    for (const auto& v : facets->values) {
      found = found || v == token;
      list += list.empty() ? v : " " + v;
    }
    if (!found) return fail(at, XmlError::NotInEnumeration, {quote_value(text), list, subject()});
  }
  if (facets->max_length || facets->min_length) {
    std::size_t length = count_code_points(text);
    if (facets->max_length && length > *facets->max_length) {
      return fail(at, XmlError::TooLong, {subject(), std::to_string(length), std::to_string(*facets->max_length)});
    }
    if (facets->min_length && length < *facets->min_length) {
      return fail(at, XmlError::TooShort, {subject(), std::to_string(length), std::to_string(*facets->min_length)});
    }
  }
  return true;
}

}  // namespace tap::xml
