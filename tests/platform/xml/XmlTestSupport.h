#pragma once
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "platform/xml/XmlDocument.h"

namespace tap::xml::test {

inline constexpr std::string_view kSchemaOpen =
    "<Schema xmlns=\"urn:schemas-microsoft-com:xml-data\" xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">";

// A cache holding `schema_body` (the declarations inside <Schema>) under `ns`.
inline std::shared_ptr<SchemaCache> cache_of(std::string_view schema_body, std::u16string_view ns = u"",
                                             ParseResult* add_result = nullptr) {
  Document schema;
  std::string text = std::string(kSchemaOpen) + std::string(schema_body) + "</Schema>";
  ParseResult loaded = schema.load_from_memory(text);
  if (!loaded) {
    if (add_result) *add_result = loaded;
    return nullptr;
  }
  auto cache = std::make_shared<SchemaCache>();
  ParseResult added = cache->add(ns, schema);
  if (add_result) *add_result = added;
  return added ? cache : nullptr;
}

// Loads `instance` and validates it against `cache`; a load failure is
// returned as is.
inline ParseResult validate_with(const std::shared_ptr<SchemaCache>& cache, std::string_view instance) {
  Document doc;
  ParseResult loaded = doc.load_from_memory(instance);
  if (!loaded) return loaded;
  doc.set_schemas(cache);
  return doc.validate();
}

// Writes `text` to a file under the test's temporary directory; the
// caller removes it.
inline std::string write_temp(const std::string& name, std::string_view text) {
  std::string path = testing::TempDir() + "xml_" + name + ".xml";
  std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
  return path;
}

}  // namespace tap::xml::test
