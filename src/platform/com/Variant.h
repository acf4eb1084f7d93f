#pragma once
// The automation value: the VT codes scripts and the scripting object use.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/com/BStr.h"
#include "platform/com/IDispatch.h"
#include "platform/com/RefCounted.h"

namespace tap::com {

using VARTYPE = std::uint16_t;
inline constexpr VARTYPE VT_EMPTY = 0, VT_NULL = 1, VT_I2 = 2, VT_I4 = 3, VT_R4 = 4, VT_R8 = 5,
                         VT_CY = 6, VT_DATE = 7, VT_BSTR = 8, VT_DISPATCH = 9, VT_ERROR = 10,
                         VT_BOOL = 11, VT_VARIANT = 12, VT_UNKNOWN = 13, VT_UI1 = 17,
                         VT_ARRAY = 0x2000, VT_BYREF = 0x4000;

class SafeArray;

// A currency value: a 64-bit integer scaled by 10,000.
struct Currency {
  std::int64_t scaled = 0;
  friend bool operator==(Currency a, Currency b) { return a.scaled == b.scaled; }
};

// An automation date: days since 30 December 1899, the fraction the time.
struct Date {
  double value = 0;
};

class Variant {
 public:
  Variant() = default;  // Empty
  Variant(std::int16_t v) : vt_(VT_I2) { u_.i2 = v; }
  Variant(std::int32_t v) : vt_(VT_I4) { u_.i4 = v; }
  Variant(float v) : vt_(VT_R4) { u_.r4 = v; }
  Variant(double v) : vt_(VT_R8) { u_.r8 = v; }
  Variant(Currency v) : vt_(VT_CY) { u_.cy = v.scaled; }
  Variant(Date v) : vt_(VT_DATE) { u_.date = v.value; }
  Variant(bool v) : vt_(VT_BOOL) { u_.b = v; }
  Variant(std::uint8_t v) : vt_(VT_UI1) { u_.ui1 = v; }
  Variant(BStr v) : vt_(VT_BSTR), str_(std::move(v)) {}
  Variant(std::u16string v) : Variant(BStr(std::move(v))) {}
  Variant(const char16_t* v) : Variant(BStr(v)) {}
  Variant(Ref<IDispatch> v);                 // VT_DISPATCH (a null reference is Nothing)
  Variant(std::shared_ptr<SafeArray> array);  // VT_ARRAY | VT_VARIANT
  Variant(const char*) = delete;              // bytes are not text: convert explicitly

  static Variant null() { Variant v; v.vt_ = VT_NULL; return v; }
  static Variant error(std::int32_t scode) { Variant v; v.vt_ = VT_ERROR; v.u_.scode = scode; return v; }
  // A missing optional argument: VT_ERROR holding DISP_E_PARAMNOTFOUND.
  static Variant missing();
  // VT_BYREF | VT_VARIANT: refers to a variable of the caller, which must
  // outlive the reference (arguments passed ByRef to a member).
  static Variant by_ref(Variant* target) { Variant v; v.vt_ = VT_BYREF | VT_VARIANT; v.u_.ref = target; return v; }

  VARTYPE vt() const { return vt_; }
  bool is_empty() const { return vt_ == VT_EMPTY; }
  bool is_null() const { return vt_ == VT_NULL; }
  bool is_array() const { return (vt_ & VT_ARRAY) != 0; }
  bool is_byref() const { return (vt_ & VT_BYREF) != 0; }
  bool is_object() const { return vt_ == VT_DISPATCH || vt_ == VT_UNKNOWN; }
  bool is_missing() const;

  // Accessors require the matching vt (checked in debug builds).
  std::int16_t i2() const { return u_.i2; }
  std::int32_t i4() const { return u_.i4; }
  float r4() const { return u_.r4; }
  double r8() const { return u_.r8; }
  Currency cy() const { return Currency{u_.cy}; }
  Date date() const { return Date{u_.date}; }
  bool boolean() const { return u_.b; }
  std::uint8_t ui1() const { return u_.ui1; }
  std::int32_t scode() const { return u_.scode; }
  const BStr& bstr() const { return str_; }
  // For growing a string in place (BStr::append_if_sole_owner) only.
  BStr& bstr_for_append() { return str_; }
  const Ref<IDispatch>& dispatch() const { return obj_; }
  const std::shared_ptr<SafeArray>& array() const { return array_; }
  Variant* ref() const { return u_.ref; }

  // Follows VT_BYREF references to the value itself.
  const Variant& deref() const { return is_byref() ? u_.ref->deref() : *this; }
  Variant& deref() { return is_byref() ? u_.ref->deref() : *this; }

 private:
  VARTYPE vt_ = VT_EMPTY;
  union {
    std::int16_t i2;
    std::int32_t i4;
    float r4;
    double r8;
    std::int64_t cy;
    double date;
    bool b;
    std::uint8_t ui1;
    std::int32_t scode;
    Variant* ref;
  } u_{};
  BStr str_;
  Ref<IDispatch> obj_;
  std::shared_ptr<SafeArray> array_;
};

}  // namespace tap::com
