#pragma once
// Validates a parsed document against the XDR schemas of a cache. Each
// element is looked up by its own namespace; the walk stops at the first
// failure, which names the element or attribute and the rule.
#include <libxml/tree.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "platform/xml/DocumentImpl.h"
#include "platform/xml/XmlErrors.h"

namespace tap::xml {

class XdrValidator {
 public:
  // With `decoded`, bin.hex element text of kDecodeAhead bytes or more is
  // checked by decoding it, and the bytes are kept there.
  explicit XdrValidator(const SchemaCache::Impl& cache, DecodedBytes* decoded = nullptr)
      : cache_(cache), decoded_(decoded) {}
  static constexpr std::size_t kDecodeAhead = std::size_t{64} << 10;
  ParseResult validate(const xmlDoc* doc);

 private:
  bool element(const xmlNode* n, const ElementDecl& decl);
  bool attributes(const xmlNode* n, const ElementDecl& decl);
  bool attribute(const xmlNode* n, const xmlAttr* a, const AttributeDecl* decl, const AttributeUse* use);
  bool element_content(const xmlNode* n, const ElementDecl& decl);
  bool child(const xmlNode* c);
  // `a` is the attribute whose value is checked, or null for element text.
  bool value(const xmlNode* n, const xmlAttr* a, std::string_view text, const AttributeDecl* facets,
             std::optional<DataType> type);
  const XdrSchema* schema_for(std::string_view ns);
  bool fail(const xmlNode* at, XmlError error, std::initializer_list<std::string_view> args);

  bool check_references();
  bool decode_ahead(const xmlNode* n, std::string_view text);

  struct IdRef {
    const xmlNode* at;
    const xmlAttr* attr;
    std::string value;
  };

  const SchemaCache::Impl& cache_;
  DecodedBytes* decoded_;
  ParseResult result_;
  std::unordered_set<std::string> ids_;
  std::vector<IdRef> idrefs_;
};

}  // namespace tap::xml
