#include <algorithm>

#include "platform/xml/DocumentImpl.h"
#include "platform/xml/XdrSchemaLoader.h"
#include "platform/xml/XmlErrors.h"
#include "platform/xml/XmlText.h"

namespace tap::xml {

SchemaCache::SchemaCache() : impl_(std::make_unique<Impl>()) {}
SchemaCache::~SchemaCache() = default;

ParseResult SchemaCache::add(std::u16string_view namespace_uri, const Document& schema) {
  if (!schema.impl().root()) return make_error(XmlError::NotLoaded, 0, 0);
  auto loaded = std::make_shared<XdrSchema>();
  std::string uri = utf16_to_utf8(namespace_uri);
  ParseResult result = load_xdr_schema(schema.impl().root(), uri, *loaded);
  if (!result) return result;
  auto& entries = impl_->entries;
  auto it = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == uri; });
  if (it != entries.end()) {
    it->second = std::move(loaded);
  } else {
    entries.emplace_back(std::move(uri), std::move(loaded));
  }
  return result;
}

void SchemaCache::remove(std::u16string_view namespace_uri) {
  std::string uri = utf16_to_utf8(namespace_uri);
  std::erase_if(impl_->entries, [&](const auto& e) { return e.first == uri; });
}

std::u16string SchemaCache::first_namespace() const {
  return impl_->entries.empty() ? std::u16string() : utf8_to_utf16(impl_->entries.front().first);
}

}  // namespace tap::xml
