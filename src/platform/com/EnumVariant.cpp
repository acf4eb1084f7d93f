#include "platform/com/EnumVariant.h"

#include <algorithm>

namespace tap::com {

HRESULT EnumVariant::Next(Variant* item) {
  if (!item) return E_POINTER;
  if (!items_) return E_FAIL;
  if (position_ >= items_->size()) return S_FALSE;
  *item = (*items_)[position_++];
  return S_OK;
}

HRESULT EnumVariant::Next(std::uint32_t count, Variant* items, std::uint32_t* fetched) {
  if (fetched) *fetched = 0;
  if (count == 0) return E_INVALIDARG;
  if (!items || (count != 1 && !fetched)) return E_POINTER;
  if (!items_) return E_FAIL;
  std::size_t left = items_->size() - position_;
  std::size_t n = count < left ? count : left;
  std::copy_n(items_->begin() + static_cast<std::ptrdiff_t>(position_), n, items);
  position_ += n;
  if (fetched) *fetched = static_cast<std::uint32_t>(n);
  return n < count ? S_FALSE : S_OK;
}

HRESULT EnumVariant::Reset() {
  position_ = 0;
  return S_OK;
}

HRESULT EnumVariant::Skip(std::uint32_t count) {
  if (count == 0) return E_INVALIDARG;
  std::size_t left = items_ ? items_->size() - position_ : 0;
  std::size_t step = count < left ? count : left;
  position_ += step;
  return step == count ? S_OK : S_FALSE;
}

Ref<EnumVariant> EnumVariant::Clone() const {
  Ref<EnumVariant> copy = make_ref<EnumVariant>(items_);
  copy->position_ = position_;
  return copy;
}

}  // namespace tap::com
