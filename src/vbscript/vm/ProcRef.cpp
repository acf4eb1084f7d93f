#include "vbscript/vm/ProcRef.h"

#include <optional>

#include "vbscript/ScriptError.h"
#include "vbscript/vm/calls.h"

namespace tap::vbs {

com::HRESULT ProcRef::Invoke(com::DISPID id, com::InvokeFlags flags, std::span<com::Variant> args,
                             com::Variant* result, com::ExcepInfo* excep) {
  if (!*alive_) return com::E_UNEXPECTED;
  if (id != com::DISPID_VALUE || !(flags & (com::DISPATCH_METHOD | com::DISPATCH_PROPERTYGET)))
    return com::DISP_E_MEMBERNOTFOUND;
  bool outermost = !rt_->frame;
  std::optional<RunLimits::Activation> active;
  try {
    if (outermost) {
      active.emplace(rt_->limits());
      rt_->begin_run();
    }
    com::Variant r = call_procedure(*rt_, *proc_, links_, nullptr, nullptr, args);
    if (result) *result = std::move(r);
    return com::S_OK;
  } catch (const ScriptError& e) {
    if (excep) e.to_excep(*excep);
    return com::DISP_E_EXCEPTION;
  } catch (const ScriptAbort& a) {
    // Inside a run the abort ends the whole run; a host's own call gets
    // it as a failure instead of an exception crossing the interface.
    if (!outermost) throw;
    if (excep) {
      excep->scode = static_cast<com::HRESULT>(RuntimeError::script_timeout);
      excep->description = runtime_error_description(excep->scode);
    }
    return com::DISP_E_EXCEPTION;
  }
}

}  // namespace tap::vbs
