#pragma once
// The Err object: Number (its default member), Description, Source,
// HelpFile, HelpContext, Raise and Clear over the runtime's error state.
#include <memory>

#include "platform/com/Dispatch.h"
#include "vbscript/vm/Runtime.h"

namespace tap::vbs {

class ErrObject final : public com::IDispatch {
 public:
  explicit ErrObject(std::shared_ptr<ErrState> state) : state_(std::move(state)) {}

  com::HRESULT GetIDsOfNames(std::u16string_view name, com::DISPID* id) override;
  com::HRESULT Invoke(com::DISPID id, com::InvokeFlags flags, std::span<com::Variant> args,
                      com::Variant* result, com::ExcepInfo* excep) override;
  std::u16string type_name() const override { return u"ErrObject"; }

 private:
  std::shared_ptr<ErrState> state_;
};

// Err.Raise's error. Arguments left out keep what `current` (the Err
// object's state) holds; where that is empty too, the description is the
// text of a known number and the source the engine's.
[[noreturn]] void raise_error(std::span<com::Variant> args, const ErrState& current);

}  // namespace tap::vbs
