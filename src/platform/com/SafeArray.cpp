#include "platform/com/SafeArray.h"

#include <algorithm>
#include <new>

namespace tap::com {

namespace {

// Element count of the bounds, or max_elements + 1 when it would exceed it
// (also guards the multiplication against overflow).
std::size_t element_count(const std::vector<ArrayBound>& bounds) {
  std::size_t total = 1;
  for (const ArrayBound& b : bounds) {
    auto n = static_cast<std::size_t>(b.count < 0 ? 0 : b.count);
    if (n != 0 && total > SafeArray::max_elements / n) return SafeArray::max_elements + 1;
    total *= n;
  }
  return total;
}

bool valid_bounds(const std::vector<ArrayBound>& bounds) {
  if (bounds.empty()) return false;
  for (const ArrayBound& b : bounds) {
    // The upper bound lower + count - 1 must fit in 32 bits too.
    if (b.count < 0 || static_cast<std::int64_t>(b.lower) + b.count - 1 > INT32_MAX) return false;
  }
  return true;
}

std::size_t metered_size(std::size_t elements) { return 64 + elements * sizeof(Variant); }

}  // namespace

SafeArray::SafeArray(std::vector<ArrayBound> bounds, bool fixed) : bounds_(std::move(bounds)), fixed_(fixed) {
  for (ArrayBound& b : bounds_) {
    if (b.count < 0) b.count = 0;
    if (static_cast<std::int64_t>(b.lower) + b.count - 1 > INT32_MAX) b.count = INT32_MAX - b.lower + 1;
  }
  std::size_t n = element_count(bounds_);
  if (n > max_elements) throw std::bad_alloc();
  charge_.grow(metered_size(n));
  data_.resize(n);
}

HRESULT SafeArray::create(std::vector<ArrayBound> bounds, bool fixed, std::shared_ptr<SafeArray>* out) {
  if (!valid_bounds(bounds)) return DISP_E_BADINDEX;
  if (element_count(bounds) > max_elements) return E_OUTOFMEMORY;
  try {
    *out = std::make_shared<SafeArray>(std::move(bounds), fixed);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT SafeArray::element(std::span<const std::int32_t> indices, Variant** out) {
  if (indices.size() != bounds_.size()) return DISP_E_BADINDEX;
  std::size_t offset = 0, stride = 1;
  for (std::size_t d = 0; d < bounds_.size(); ++d) {
    std::int64_t i = static_cast<std::int64_t>(indices[d]) - bounds_[d].lower;
    if (i < 0 || i >= bounds_[d].count) return DISP_E_BADINDEX;
    offset += static_cast<std::size_t>(i) * stride;
    stride *= static_cast<std::size_t>(bounds_[d].count);
  }
  *out = &data_[offset];
  return S_OK;
}

HRESULT SafeArray::redim(std::vector<ArrayBound> bounds, bool preserve) {
  if (locked() || fixed_) return DISP_E_ARRAYISLOCKED;
  if (!valid_bounds(bounds)) return DISP_E_BADINDEX;
  std::size_t n = element_count(bounds);
  if (n > max_elements) return E_OUTOFMEMORY;
  if (preserve) {
    if (bounds.size() != bounds_.size()) return DISP_E_BADINDEX;
    for (std::size_t d = 0; d + 1 < bounds.size(); ++d)
      if (bounds[d].lower != bounds_[d].lower || bounds[d].count != bounds_[d].count) return DISP_E_BADINDEX;
    if (bounds.back().lower != bounds_.back().lower) return DISP_E_BADINDEX;
  }
  try {
    // Both the old and the new storage exist for a moment without preserve.
    charge_.resize(metered_size(preserve ? std::max(n, data_.size()) : n + data_.size()));
    if (preserve) {
      // The last dimension varies slowest, so its elements are a suffix of
      // storage: growing or shrinking it keeps every other element in place.
      data_.resize(n);
    } else {
      std::vector<Variant> fresh(n);
      data_.swap(fresh);
    }
  } catch (const std::bad_alloc&) {
    charge_.resize(metered_size(data_.size()));
    return E_OUTOFMEMORY;
  }
  charge_.resize(metered_size(n));
  bounds_ = std::move(bounds);
  return S_OK;
}

}  // namespace tap::com
