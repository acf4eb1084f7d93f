#pragma once
// Validates a parsed document against the XDR schemas of a cache. Each
// element is looked up by its own namespace; the walk stops at the first
// failure, which names the element or attribute and the rule.
#include <chrono>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/xml/DocumentImpl.h"
#include "platform/xml/XmlErrors.h"

namespace tap::xml {

class XdrValidator {
 public:
  // With `decoded`, bin.hex element text of kDecodeAhead bytes or more is
  // checked by decoding it, and the bytes are kept there. A walk still
  // running at `deadline` stops with the TimeLimit failure.
  explicit XdrValidator(const SchemaCache::Impl& cache, DecodedBytes* decoded = nullptr,
                        std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max())
      : cache_(cache), decoded_(decoded), deadline_(deadline) {}
  static constexpr std::size_t kDecodeAhead = std::size_t{64} << 10;
  ParseResult validate(const TreeNode* root);

 private:
  bool element(const TreeNode* n, const ElementDecl& decl);
  bool attributes(const TreeNode* n, const ElementDecl& decl);
  bool attribute(const TreeNode* n, const TreeAttribute& a, const AttributeDecl* decl, const AttributeUse* use);
  bool element_content(const TreeNode* n, const ElementDecl& decl);
  bool child(const TreeNode* c);
  // `a` is the attribute whose value is checked, or null for element text.
  bool value(const TreeNode* n, const TreeAttribute* a, std::string_view text, const AttributeDecl* facets,
             std::optional<DataType> type);
  const XdrSchema* schema_for(std::string_view ns);
  bool fail(const TreeNode* at, XmlError error, std::initializer_list<std::string_view> args);
  bool bad_value(const TreeNode* at, DataType type, std::string_view text, const std::string& subject);
  bool in_time(const TreeNode* at);

  bool check_references();
  bool decode_ahead(const TreeNode* n, std::string_view text);

  struct IdRef {
    const TreeNode* at;
    const TreeAttribute* attr;
    std::string value;
  };

  const SchemaCache::Impl& cache_;
  DecodedBytes* decoded_;
  std::chrono::steady_clock::time_point deadline_;
  std::size_t elements_ = 0;
  ParseResult result_;
  std::unordered_set<std::string> ids_;
  std::vector<IdRef> idrefs_;
};

}  // namespace tap::xml
