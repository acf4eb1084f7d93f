#include "platform/xml/DocumentImpl.h"
#include "platform/xml/XdrValidator.h"
#include "platform/xml/XmlErrors.h"
#include "platform/xml/XmlParser.h"

namespace tap::xml {

Document::Document() : impl_(std::make_unique<Impl>()) {}
Document::~Document() = default;

namespace {

ParseLimits limits_until(std::chrono::steady_clock::time_point deadline) {
  ParseLimits limits;
  limits.deadline = deadline;
  return limits;
}

}  // namespace

// A failed load leaves the document empty, as the platform's DOM does.
ParseResult Document::load_from_memory(std::string_view bytes) {
  std::unique_ptr<Tree> tree;
  impl_->reset(nullptr);
  parse_error_ = parse_memory(bytes, tree, limits_until(deadline_));
  impl_->reset(std::move(tree));
  return parse_error_;
}

ParseResult Document::load_from_file(const std::string& path) {
  std::unique_ptr<Tree> tree;
  impl_->reset(nullptr);
  parse_error_ = parse_file(path, tree, limits_until(deadline_));
  impl_->reset(std::move(tree));
  return parse_error_;
}

ParseResult Document::validate() const {
  const TreeNode* root = impl_->root();
  if (!root) return make_error(XmlError::NotLoaded, 0, 0);
  impl_->decoded.clear();
  if (!schemas_) {
    SchemaCache::Impl none;
    return XdrValidator(none, nullptr, deadline_).validate(root);
  }
  ParseResult result = XdrValidator(schemas_->impl(), &impl_->decoded, deadline_).validate(root);
  if (!result) impl_->decoded.clear();
  return result;
}

Element Document::root() const {
  const TreeNode* root = impl_->root();
  return root ? Element(const_cast<TreeNode*>(root), this) : Element();
}

}  // namespace tap::xml
