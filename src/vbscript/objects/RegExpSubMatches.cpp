#include "vbscript/objects/RegExpSubMatches.h"

#include <vector>

#include "platform/com/EnumVariant.h"

namespace tap::vbs {

using com::DispatchCall;
using com::HRESULT;
using com::Variant;

const com::DispatchTable<RegExpSubMatches>& RegExpSubMatches::dispatch_table() {
  using namespace com;
  constexpr InvokeFlags get = DISPATCH_PROPERTYGET | DISPATCH_METHOD;
  static const DispatchTable<RegExpSubMatches> table(u"ISubMatches", {
      {u"Item", DISPID_VALUE, get, &RegExpSubMatches::get_item, {VT_I4}},
      {u"Count", 1, get, &RegExpSubMatches::get_count},
      {u"_NewEnum", DISPID_NEWENUM, get, &RegExpSubMatches::new_enum},
  });
  return table;
}

Variant RegExpSubMatches::item(std::size_t i) const {
  const regex::RegexSpan& g = data_->match.groups[i];
  return g.matched ? Variant(std::u16string(g.in(*data_->subject))) : Variant();
}

HRESULT RegExpSubMatches::get_item(DispatchCall& call) {
  const std::int32_t i = call.args[0].i4();
  if (i < 0 || static_cast<std::size_t>(i) >= count())
    return call.raise(com::control_error(5), u"Invalid procedure call or argument");
  call.result = item(static_cast<std::size_t>(i));
  return com::S_OK;
}

HRESULT RegExpSubMatches::get_count(DispatchCall& call) {
  call.result = Variant(static_cast<std::int32_t>(count()));
  return com::S_OK;
}

HRESULT RegExpSubMatches::new_enum(DispatchCall& call) {
  std::vector<Variant> items;
  items.reserve(count());
  for (std::size_t i = 0; i < count(); ++i) items.push_back(item(i));
  call.result = Variant(com::Ref<com::IDispatch>(com::EnumVariant::over(std::move(items))));
  return com::S_OK;
}

}  // namespace tap::vbs
