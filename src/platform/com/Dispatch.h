#pragma once
// Late-bound objects: members resolved by name (case-insensitive) to
// DISPIDs, then invoked as method, property get, put or putref.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/com/HResult.h"
#include "platform/com/IDispatch.h"
#include "platform/com/Variant.h"

namespace tap::com {

// Walks a collection for For Each; the object's DISPID_NEWENUM member
// returns one as an IDispatch-compatible object.
class IEnumVARIANT : public IDispatch {
 public:
  // S_OK with *item set, or S_FALSE at the end.
  virtual HRESULT Next(Variant* item) = 0;
  virtual HRESULT Reset() = 0;

  HRESULT GetIDsOfNames(std::u16string_view, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  HRESULT Invoke(DISPID, InvokeFlags, std::span<Variant>, Variant*, ExcepInfo*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
  std::u16string type_name() const override { return u"Object"; }
};

// Case-insensitive comparison of member names (ASCII letters fold; member
// names are ASCII).
bool names_equal(std::u16string_view a, std::u16string_view b);

}  // namespace tap::com
