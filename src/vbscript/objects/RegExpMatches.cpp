#include "vbscript/objects/RegExpMatches.h"

#include "platform/com/EnumVariant.h"

namespace tap::vbs {

using com::DispatchCall;
using com::HRESULT;
using com::Variant;

const com::DispatchTable<RegExpMatches>& RegExpMatches::dispatch_table() {
  using namespace com;
  constexpr InvokeFlags get = DISPATCH_PROPERTYGET | DISPATCH_METHOD;
  static const DispatchTable<RegExpMatches> table(u"IMatchCollection2", {
      {u"Item", DISPID_VALUE, get, &RegExpMatches::get_item, {VT_I4}},
      {u"Count", 1, get, &RegExpMatches::get_count},
      {u"_NewEnum", DISPID_NEWENUM, get, &RegExpMatches::new_enum},
  });
  return table;
}

HRESULT RegExpMatches::get_item(DispatchCall& call) {
  const std::int32_t i = call.args[0].i4();
  if (i < 0 || static_cast<std::size_t>(i) >= matches_.size())
    return call.raise(com::control_error(5), u"Invalid procedure call or argument");
  call.result = Variant(com::Ref<com::IDispatch>(matches_[static_cast<std::size_t>(i)]));
  return com::S_OK;
}

HRESULT RegExpMatches::get_count(DispatchCall& call) {
  call.result = Variant(static_cast<std::int32_t>(matches_.size()));
  return com::S_OK;
}

HRESULT RegExpMatches::new_enum(DispatchCall& call) {
  std::vector<Variant> items;
  items.reserve(matches_.size());
  for (const auto& m : matches_) items.emplace_back(com::Ref<com::IDispatch>(m));
  call.result = Variant(com::Ref<com::IDispatch>(com::EnumVariant::over(std::move(items))));
  return com::S_OK;
}

}  // namespace tap::vbs
