#pragma once
// The WScript object of the command-line host: Echo joins its arguments
// with spaces and hands the line to a sink; Quit [code] ends the run.
#include <functional>
#include <string>

#include "platform/com/Dispatch.h"

namespace tap::vbs {

class WScriptObject final : public com::IDispatch {
 public:
  using Sink = std::function<void(const std::u16string& line)>;
  explicit WScriptObject(Sink sink) : sink_(std::move(sink)) {}

  com::HRESULT GetIDsOfNames(std::u16string_view name, com::DISPID* id) override;
  com::HRESULT Invoke(com::DISPID id, com::InvokeFlags flags, std::span<com::Variant> args, com::Variant* result,
                      com::ExcepInfo* excep) override;
  std::u16string type_name() const override { return u"Object"; }

 private:
  Sink sink_;
};

}  // namespace tap::vbs
