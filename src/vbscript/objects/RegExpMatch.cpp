#include "vbscript/objects/RegExpMatch.h"

#include "vbscript/objects/RegExpSubMatches.h"

namespace tap::vbs {

using com::DispatchCall;
using com::HRESULT;
using com::Variant;

const com::DispatchTable<RegExpMatch>& RegExpMatch::dispatch_table() {
  using namespace com;
  constexpr InvokeFlags get = DISPATCH_PROPERTYGET | DISPATCH_METHOD;
  static const DispatchTable<RegExpMatch> table(u"IMatch2", {
      {u"Value", DISPID_VALUE, get, &RegExpMatch::get_value},
      {u"FirstIndex", 10001, get, &RegExpMatch::get_first_index},
      {u"Length", 10002, get, &RegExpMatch::get_length},
      {u"SubMatches", 10003, get, &RegExpMatch::get_sub_matches, {optional(VT_VARIANT)}},
  });
  return table;
}

HRESULT RegExpMatch::get_value(DispatchCall& call) {
  call.result = Variant(data_->value());
  return com::S_OK;
}

HRESULT RegExpMatch::get_first_index(DispatchCall& call) {
  call.result = Variant(static_cast<std::int32_t>(data_->match.index));
  return com::S_OK;
}

HRESULT RegExpMatch::get_length(DispatchCall& call) {
  call.result = Variant(static_cast<std::int32_t>(data_->match.length));
  return com::S_OK;
}

// m.SubMatches(i) reaches the collection's default member, as type-library
// dispatch does for a property with more arguments than it declares.
HRESULT RegExpMatch::get_sub_matches(DispatchCall& call) {
  com::Ref<com::IDispatch> sub(new RegExpSubMatches(data_));
  if (call.args.empty() || call.args[0].is_missing()) {
    call.result = Variant(sub);
    return com::S_OK;
  }
  return sub->Invoke(com::DISPID_VALUE, com::DISPATCH_PROPERTYGET | com::DISPATCH_METHOD, call.args.first(1),
                     &call.result, call.excep);
}

}  // namespace tap::vbs
