#pragma once
// The enumerator For Each walks: an IEnumVARIANT over a vector of
// variants that clones share without copying.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/com/Dispatch.h"

namespace tap::com {

class EnumVariant : public IEnumVARIANT {
 public:
  // Without items (nullptr), Next fails with E_FAIL: the state of an
  // enumerator over a collection that had nothing to copy. An empty vector
  // ends at once with S_FALSE instead.
  explicit EnumVariant(std::shared_ptr<const std::vector<Variant>> items) : items_(std::move(items)) {}
  static Ref<EnumVariant> over(std::vector<Variant> items) {
    return make_ref<EnumVariant>(std::make_shared<const std::vector<Variant>>(std::move(items)));
  }

  HRESULT Next(Variant* item) override;
  // The batch form: up to count items into items[0..count). fetched may be
  // null only when count is 1. S_FALSE when fewer than count were left;
  // E_INVALIDARG for a count of 0, E_POINTER for a missing output, E_FAIL
  // without items.
  HRESULT Next(std::uint32_t count, Variant* items, std::uint32_t* fetched);
  HRESULT Reset() override;
  // S_OK when it moved by count, S_FALSE when fewer items were left,
  // E_INVALIDARG for a count of 0.
  HRESULT Skip(std::uint32_t count);
  // A new enumerator over the same items at the same position.
  Ref<EnumVariant> Clone() const;

 private:
  std::shared_ptr<const std::vector<Variant>> items_;
  std::size_t position_ = 0;
};

}  // namespace tap::com
