#pragma once
// One XDR schema as loaded from its document: element types, top-level
// attribute types and the compiled content models.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/xml/ContentModel.h"
#include "platform/xml/XdrDataType.h"

namespace tap::xml {

inline constexpr std::string_view kXdrNamespace = "urn:schemas-microsoft-com:xml-data";
inline constexpr std::string_view kDatatypesNamespace = "urn:schemas-microsoft-com:datatypes";
inline constexpr std::string_view kXmlNamespace = "http://www.w3.org/XML/1998/namespace";

struct StringHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
template <typename T>
using StringMap = std::unordered_map<std::string, T, StringHash, std::equal_to<>>;

// An AttributeType.
struct AttributeDecl {
  std::string name;
  std::optional<DataType> type;  // none: string
  std::vector<std::string> values;
  std::optional<std::string> default_value;
  bool required = false;
  std::optional<std::size_t> max_length;
  std::optional<std::size_t> min_length;
  int line = 0;
};

// An `attribute` of an ElementType. The instance attribute is unqualified
// unless the reference carries a prefix (`ns` is then its namespace).
struct AttributeUse {
  std::string ns;
  std::string name;
  const AttributeDecl* decl = nullptr;  // null for another namespace's type
  bool required = false;
  std::optional<std::string> default_value;
  int line = 0;
};

enum class Content { Empty, TextOnly, EltOnly, Mixed };

struct ElementDecl {
  std::string name;
  Content content = Content::Mixed;
  Order order = Order::Many;
  bool open = true;
  std::optional<DataType> type;
  std::vector<std::unique_ptr<AttributeDecl>> local_types;
  std::vector<AttributeUse> attributes;
  Particle particle;
  ContentModel model;
  int line = 0;

  const AttributeUse* find_attribute(std::string_view ns, std::string_view name) const;
  const AttributeDecl* find_local_type(std::string_view name) const;
};

struct XdrSchema {
  StringMap<std::unique_ptr<ElementDecl>> elements;
  StringMap<std::unique_ptr<AttributeDecl>> attributes;  // top-level

  const ElementDecl* find_element(std::string_view name) const;
  const AttributeDecl* find_attribute(std::string_view name) const;
};

}  // namespace tap::xml
