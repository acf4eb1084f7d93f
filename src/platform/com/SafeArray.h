#pragma once
// Arrays of variants with one or more dimensions and lower bounds, as
// automation passes them. VBScript arrays are SafeArrays of VT_VARIANT.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/com/HResult.h"
#include "platform/com/Variant.h"

namespace tap::com {

struct ArrayBound {
  std::int32_t lower = 0;
  std::int32_t count = 0;  // 0 elements: upper bound is lower - 1
};

class SafeArray {
 public:
  explicit SafeArray(std::vector<ArrayBound> bounds, bool fixed = false);

  std::size_t dimensions() const { return bounds_.size(); }
  const std::vector<ArrayBound>& bounds() const { return bounds_; }
  std::size_t size() const { return data_.size(); }
  // Dim a(3) makes a fixed array that ReDim refuses; ReDim a(3) does not.
  bool fixed() const { return fixed_; }
  // An array being walked by For Each or passed ByRef element-wise is
  // locked; Erase and ReDim fail with DISP_E_ARRAYISLOCKED meanwhile.
  void lock() { ++locks_; }
  void unlock() { --locks_; }
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
  bool fixed_;
  int locks_ = 0;
};

}  // namespace tap::com
