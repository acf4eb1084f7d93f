#pragma once
#include "platform/com/Guid.h"
#include "platform/com/HResult.h"

namespace tap::com {

// Tells a caller whether an interface of the object reports rich error
// information. Objects add it beside their IDispatch base; it holds no
// reference count of its own.
class ISupportErrorInfo {
 public:
  // S_OK when the interface does, S_FALSE when it does not.
  virtual HRESULT InterfaceSupportsErrorInfo(const Guid& iid) = 0;

 protected:
  virtual ~ISupportErrorInfo() = default;
};

}  // namespace tap::com
