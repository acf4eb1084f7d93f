#pragma once
// DOM adapter over libxml2: the operations the playback-file loader needs of
// an XML parser with an XDR schema cache, and no more. Strings cross this
// interface as UTF-16, as they would from the platform's DOM.
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tap::xml {

// Outcome of a load or a validation: code 0 means success. Failures carry
// the 1-based line and column where known and a message that names the
// element or attribute and the rule it broke.
struct ParseResult {
  int code = 0;
  int line = 0;
  int column = 0;
  std::string message;
  std::string element;  // local name of the element at fault, where known
  explicit operator bool() const { return code == 0; }
};

class Document;
class SchemaCache;
class Element;
class Attribute;

// A node's value as the schema types it: bin.hex -> bytes, boolean -> bool,
// anything else -> text. std::monostate when there is no value.
using TypedValue = std::variant<std::monostate, std::string /*bytes*/, bool, std::u16string>;

// Non-owning view of a child node; valid while its Document lives.
class Node {
 public:
  Node() = default;
  explicit operator bool() const { return node_ != nullptr; }
  bool is_element() const;
  Element as_element() const;  // empty unless is_element()

 private:
  friend class Element;
  explicit Node(void* node, const Document* doc) : node_(node), doc_(doc) {}
  void* node_ = nullptr;
  const Document* doc_ = nullptr;
};

// An attribute node, or the schema default of an absent attribute (then
// specified() is false).
class Attribute {
 public:
  Attribute() = default;
  explicit operator bool() const { return attr_ != nullptr || default_ != nullptr; }
  bool specified() const { return attr_ != nullptr; }
  std::u16string text() const;
  TypedValue typed_value() const;

 private:
  friend class Element;
  Attribute(void* attr, void* owner, const Document* doc) : attr_(attr), owner_(owner), doc_(doc) {}
  void* attr_ = nullptr;
  void* owner_ = nullptr;
  const Document* doc_ = nullptr;
  const void* default_ = nullptr;  // the schema's attribute use
};

// Non-owning view of an element; valid while its Document lives.
class Element {
 public:
  Element() = default;
  explicit operator bool() const { return node_ != nullptr; }

  std::u16string namespace_uri() const;
  std::u16string tag_name() const;    // qualified, with any prefix
  std::u16string local_name() const;  // without prefix

  // Child elements whose local name is `name` and whose namespace is this
  // element's namespace, in document order.
  std::vector<Element> children(std::u16string_view name) const;
  Element first_child(std::u16string_view name) const;
  std::vector<Node> child_nodes() const;
  Node first_child_node() const;

  // Absent attributes are nullopt; present ones give their text (possibly
  // empty), or the schema default when the schema declares one.
  // Defaults come from the schemas set on the document (whether or not it
  // was validated), from the element's ElementType in its namespace, as
  // the platform's DOM adds them after validation. `name` may carry a
  // prefix ("dt:dt").
  std::optional<std::u16string> attribute(std::u16string_view name) const;
  Attribute attribute_node(std::u16string_view name) const;

  TypedValue typed_value() const;
  // The type the instance names for its own value (a dt:dt attribute of
  // the datatypes namespace, whatever its prefix), as written; nullopt
  // when it names none.
  std::optional<std::u16string> data_type() const;
  std::u16string text() const;
  int line() const;
  int column() const;

 private:
  friend class Document;
  friend class Node;
  Element(void* node, const Document* doc) : node_(node), doc_(doc) {}
  void* node_ = nullptr;
  const Document* doc_ = nullptr;
};

// XDR schemas by namespace. A schema is compiled once, when it is added; a
// malformed schema is refused then.
class SchemaCache {
 public:
  SchemaCache();
  ~SchemaCache();
  SchemaCache(const SchemaCache&) = delete;
  SchemaCache& operator=(const SchemaCache&) = delete;

  // Adding under a namespace already present replaces its schema; the
  // first namespace stays the first.
  ParseResult add(std::u16string_view namespace_uri, const Document& schema);
  void remove(std::u16string_view namespace_uri);
  std::u16string first_namespace() const;

  struct Impl;
  const Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

class Document {
 public:
  Document();
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // Synchronous loads, never validating while parsing. The parser loads no
  // external entity or DTD, expands only the predefined entities and keeps
  // libxml2's depth limits; the bounds are in XmlParser.h (256 MiB per text
  // node, 1 GiB per document, 256 attributes per element, 64 namespace
  // declarations in scope). A file is read only if it is a regular file.
  ParseResult load_from_memory(std::string_view bytes);
  ParseResult load_from_file(const std::string& path);
  const ParseResult& parse_error() const { return parse_error_; }

  // Loads and validations still running when `deadline` passes stop with
  // the TimeLimit failure. None by default.
  void set_deadline(std::chrono::steady_clock::time_point deadline) { deadline_ = deadline; }

  void set_schemas(std::shared_ptr<const SchemaCache> cache) { schemas_ = std::move(cache); }
  const std::shared_ptr<const SchemaCache>& schemas() const { return schemas_; }
  // Validates against the cache by each element's namespace. Without a
  // schema for the root's namespace the result is the NoSchema failure.
  ParseResult validate() const;

  Element root() const;

  struct Impl;
  const Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
  ParseResult parse_error_;
  std::shared_ptr<const SchemaCache> schemas_;
  std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::time_point::max();
};

}  // namespace tap::xml
