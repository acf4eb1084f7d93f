#include "scripting/StringCollection.h"

#include <string_view>

#include "platform/com/EnumVariant.h"
#include "platform/os/code_page.h"
#include "scripting/PlaybackEngineLib.h"

namespace tap {

using com::DispatchCall;
using com::HRESULT;
using com::Variant;

const com::DispatchTable<StringCollection>& StringCollection::dispatch_table() {
  using namespace com;
  static const DispatchTable<StringCollection> table(u"_IStringCollection", {
      {u"Count", 0x60020000, DISPATCH_PROPERTYGET, &StringCollection::get_count},
      {u"Item", DISPID_VALUE, DISPATCH_PROPERTYGET, &StringCollection::get_item, {VT_I4}},
      {u"_NewEnum", DISPID_NEWENUM, DISPATCH_PROPERTYGET, &StringCollection::new_enum},
  });
  return table;
}

void StringCollection::Fill(const std::vector<std::string>& entries) {
  items_.clear();
  items_.reserve(entries.size());
  for (const std::string& entry : entries) items_.emplace_back(os::ansi_to_wide(std::string_view(entry.c_str())));
}

HRESULT StringCollection::InterfaceSupportsErrorInfo(const com::Guid& iid) {
  return iid == IID__IStringCollection || iid == com::IID_IDispatch ? com::S_OK : com::S_FALSE;
}

HRESULT StringCollection::get_count(DispatchCall& call) {
  call.result = Variant(static_cast<std::int32_t>(items_.size()));
  return com::S_OK;
}

HRESULT StringCollection::get_item(DispatchCall& call) {
  call.result = Variant(com::Ref<com::IDispatch>());
  const std::int32_t index = call.args[0].i4();
  if (index < 1 || static_cast<std::size_t>(index) > items_.size()) return com::E_INVALIDARG;
  call.result = items_[static_cast<std::size_t>(index) - 1];
  return com::S_OK;
}

// An empty collection hands out an enumerator without items, whose first
// step fails rather than ending the walk.
HRESULT StringCollection::new_enum(DispatchCall& call) {
  std::shared_ptr<const std::vector<Variant>> copy;
  if (!items_.empty()) copy = std::make_shared<const std::vector<Variant>>(items_);
  call.result = Variant(com::Ref<com::IDispatch>(com::make_ref<com::EnumVariant>(std::move(copy))));
  return com::S_OK;
}

}  // namespace tap
