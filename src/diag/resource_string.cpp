#include "diag/resource_string.h"

#include "platform/os/code_page.h"
#include "platform/os/module_resources.h"

namespace tap {

bool resource_string::load() {
  if (text_) return true;
  std::u16string text = os::load_string(id_);
  if (text.empty() && fallback_ != no_fallback) text = os::load_string(fallback_);
  if (text.empty()) return false;
  text_ = std::make_shared<Text>();
  text_->wide = std::move(text);
  return true;
}

const char* resource_string::ansi() {
  if (!load()) return nullptr;
  if (!text_->has_ansi) {
    text_->ansi = os::wide_to_ansi(text_->wide);
    text_->has_ansi = true;
  }
  return text_->ansi.c_str();
}

const char16_t* resource_string::wide() { return load() ? text_->wide.c_str() : nullptr; }

}  // namespace tap
