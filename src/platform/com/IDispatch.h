#pragma once
// The late-bound object interface. Kept apart from Dispatch.h so that
// Variant.h can hold objects by reference without a circular include.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/com/HResult.h"
#include "platform/com/RefCounted.h"

namespace tap::com {

class Variant;

using DISPID = std::int32_t;
inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr DISPID DISPID_NEWENUM = -4;

using InvokeFlags = std::uint16_t;
inline constexpr InvokeFlags DISPATCH_METHOD = 1, DISPATCH_PROPERTYGET = 2,
                             DISPATCH_PROPERTYPUT = 4, DISPATCH_PROPERTYPUTREF = 8;

// What a failing member reports beside its HRESULT (returned as
// DISP_E_EXCEPTION): its error code, source, description and where help on
// it is.
struct ExcepInfo {
  HRESULT scode = 0;
  std::u16string source;
  std::u16string description;
  std::u16string help_file;
  std::int32_t help_context = 0;
};

class IDispatch : public RefCounted {
 public:
  // DISP_E_UNKNOWNNAME when the object has no member of that name.
  virtual HRESULT GetIDsOfNames(std::u16string_view name, DISPID* id) = 0;
  // Arguments in source order (first argument first; unlike COM's reversed
  // rgvarg). For a property put the value is the last argument. ByRef
  // arguments arrive as VT_BYREF | VT_VARIANT and may be written through.
  virtual HRESULT Invoke(DISPID id, InvokeFlags flags, std::span<Variant> args, Variant* result,
                         ExcepInfo* excep) = 0;
  // The name TypeName() reports, e.g. "Dictionary".
  virtual std::u16string type_name() const = 0;
};

}  // namespace tap::com
