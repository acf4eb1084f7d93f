#include "scripting/ValueStore.h"

#include <string_view>

#include "platform/com/conversions.h"
#include "platform/com/variant_copy.h"
#include "platform/os/code_page.h"

namespace tap {

com::HRESULT ValueStore::MakeKey(const com::Variant& cookie, std::string* key) {
  com::Variant text;
  if (com::HRESULT hr = com::change_type(text, cookie, com::VT_BSTR, com::VARIANT_NOVALUEPROP); com::failed(hr))
    return hr;
  std::u16string_view wide = text.bstr().view();
  *key = os::wide_to_ansi(wide.substr(0, wide.find(u'\0')));
  return com::S_OK;
}

com::HRESULT ValueStore::Store(const com::Variant& cookie, const com::Variant& value) {
  std::string key;
  if (com::HRESULT hr = MakeKey(cookie, &key); com::failed(hr)) return hr;
  com::Variant copy;
  if (com::HRESULT hr = com::copy_indirect(copy, value); com::failed(hr)) return hr;
  current_.insert_or_assign(std::move(key), std::move(copy));
  return com::S_OK;
}

com::HRESULT ValueStore::Get(const com::Variant& cookie, com::Variant* out) const {
  std::string key;
  if (com::failed(MakeKey(cookie, &key))) return com::S_OK;
  auto it = current_.find(key);
  if (it == current_.end()) {
    *out = com::Variant::null();
    return com::S_OK;
  }
  return com::copy_indirect(*out, it->second);
}

void ValueStore::Reset(bool restore_defaults) {
  current_.clear();
  // Stored values are never handed out uncopied, so the two maps may
  // share arrays.
  if (restore_defaults) current_ = defaults_;
}

void ValueStore::Seed(const ValueMap& initial) {
  for (const auto& [key, value] : initial) {
    current_.emplace(key, value);
    defaults_.emplace(key, value);
  }
}

}  // namespace tap
