#include "platform/com/variant_copy.h"

#include <memory>
#include <new>

#include "platform/com/SafeArray.h"

namespace tap::com {

namespace {

HRESULT copy_nested(Variant& dest, const Variant& src0, int depth) {
  const Variant& src = src0.deref();
  if (!src.is_array() || !src.array()) {
    dest = src;
    return S_OK;
  }
  if (depth >= max_copy_depth) return E_OUTOFMEMORY;
  const SafeArray& from = *src.array();
  std::shared_ptr<SafeArray> copy;
  try {
    copy = std::make_shared<SafeArray>(from.bounds(), false);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  for (std::size_t i = 0; i < from.size(); ++i)
    if (HRESULT hr = copy_nested(copy->data()[i], from.data()[i], depth + 1); failed(hr)) return hr;
  dest = Variant(std::move(copy));
  return S_OK;
}

}  // namespace

HRESULT copy_indirect(Variant& dest, const Variant& src) {
  Variant result;
  if (HRESULT hr = copy_nested(result, src, 0); failed(hr)) return hr;
  dest = std::move(result);
  return S_OK;
}

}  // namespace tap::com
