#pragma once
// What GetRef returns: a procedure as an object whose default member calls
// it (event handlers, callbacks passed to host objects).
#include <memory>

#include "platform/com/Dispatch.h"
#include "vbscript/vm/Runtime.h"

namespace tap::vbs {

class ProcRef final : public com::IDispatch {
 public:
  ProcRef(Runtime& rt, const GlobalSlot& slot)
      : rt_(&rt), alive_(rt.alive()), proc_(slot.proc), links_(slot.proc_links) {}

  com::HRESULT GetIDsOfNames(std::u16string_view, com::DISPID*) override { return com::DISP_E_UNKNOWNNAME; }
  com::HRESULT Invoke(com::DISPID id, com::InvokeFlags flags, std::span<com::Variant> args, com::Variant* result,
                      com::ExcepInfo* excep) override;
  std::u16string type_name() const override { return u"Object"; }

 private:
  Runtime* rt_;
  std::shared_ptr<bool> alive_;
  const Procedure* proc_;
  GlobalSlot* const* links_;
};

}  // namespace tap::vbs
