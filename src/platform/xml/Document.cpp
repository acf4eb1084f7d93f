#include "platform/xml/DocumentImpl.h"
#include "platform/xml/XdrValidator.h"
#include "platform/xml/XmlErrors.h"
#include "platform/xml/XmlParser.h"

namespace tap::xml {

Document::Document() : impl_(std::make_unique<Impl>()) {}
Document::~Document() = default;

// A failed load leaves the document empty, as the platform's DOM does.
ParseResult Document::load_from_memory(std::string_view bytes) {
  xmlDocPtr doc = nullptr;
  parse_error_ = parse_memory(bytes, &doc);
  impl_->reset(doc);
  return parse_error_;
}

ParseResult Document::load_from_file(const std::string& path) {
  xmlDocPtr doc = nullptr;
  parse_error_ = parse_file(path, &doc);
  impl_->reset(doc);
  return parse_error_;
}

ParseResult Document::validate() const {
  if (!impl_->doc) return make_error(XmlError::NotLoaded, 0, 0);
  impl_->decoded.clear();
  if (!schemas_) {
    SchemaCache::Impl none;
    return XdrValidator(none).validate(impl_->doc);
  }
  ParseResult result = XdrValidator(schemas_->impl(), &impl_->decoded).validate(impl_->doc);
  if (!result) impl_->decoded.clear();
  return result;
}

Element Document::root() const {
  xmlNodePtr root = impl_->doc ? xmlDocGetRootElement(impl_->doc) : nullptr;
  return root ? Element(root, this) : Element();
}

}  // namespace tap::xml
