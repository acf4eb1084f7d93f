#pragma once
// Arrays of variants with one or more dimensions and lower bounds, as
// automation passes them. VBScript arrays are SafeArrays of VT_VARIANT.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/com/HResult.h"
#include "platform/com/MemoryMeter.h"
#include "platform/com/Variant.h"

namespace tap::com {

struct ArrayBound {
  std::int32_t lower = 0;
  std::int32_t count = 0;  // 0 elements: upper bound is lower - 1
};

class SafeArray {
 public:
  // Scripts cannot allocate more elements than this; larger requests fail
  // with E_OUTOFMEMORY instead of exhausting the process.
  static constexpr std::size_t max_elements = std::size_t{1} << 24;

  // Throws std::bad_alloc past max_elements or the active meter's budget;
  // a negative count counts as 0
  // and one reaching past the largest index is cut to end there.
  // Use create() where the bounds come from a script.
  explicit SafeArray(std::vector<ArrayBound> bounds, bool fixed = false);
  // DISP_E_BADINDEX for no dimension or a count below 0, E_OUTOFMEMORY
  // past max_elements or the meter's budget.
  static HRESULT create(std::vector<ArrayBound> bounds, bool fixed, std::shared_ptr<SafeArray>* out);

  std::size_t dimensions() const { return bounds_.size(); }
  const std::vector<ArrayBound>& bounds() const { return bounds_; }
  // Bounds of dimension dim (0-based); the caller checks dim < dimensions().
  std::int32_t lbound(std::size_t dim) const { return bounds_[dim].lower; }
  std::int32_t ubound(std::size_t dim) const { return bounds_[dim].lower + bounds_[dim].count - 1; }
  std::size_t size() const { return data_.size(); }
  // Dim a(3) makes a fixed array that ReDim refuses; ReDim a(3) does not.
  bool fixed() const { return fixed_; }
  // An array being walked by For Each or passed ByRef element-wise is
  // locked; Erase and ReDim fail with DISP_E_ARRAYISLOCKED meanwhile.
  void lock() { ++locks_; }
  void unlock() { if (locks_ > 0) --locks_; }
  bool locked() const { return locks_ > 0; }

  // Element by one index per dimension; DISP_E_BADINDEX when out of range.
  HRESULT element(std::span<const std::int32_t> indices, Variant** out);
  // Elements in storage order (first dimension fastest), for For Each.
  std::vector<Variant>& data() { return data_; }
  const std::vector<Variant>& data() const { return data_; }

  // Re-dimensions; with preserve only the last dimension may change and
  // elements keep their values. DISP_E_ARRAYISLOCKED while locked.
  HRESULT redim(std::vector<ArrayBound> bounds, bool preserve);

 private:
  std::vector<ArrayBound> bounds_;
  std::vector<Variant> data_;
  MeterCharge charge_;  // the element storage
  bool fixed_;
  int locks_ = 0;
};

}  // namespace tap::com
