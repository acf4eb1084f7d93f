#include "vbscript/objects/Dictionary.h"

#include <memory>
#include <vector>

#include "platform/com/EnumVariant.h"
#include "platform/com/SafeArray.h"

namespace tap::vbs {

// Key and item, the list node and the index node with its bucket.
constexpr std::size_t bytes_per_entry = 2 * sizeof(com::Variant) + 96;

using com::DispatchCall;
using com::HRESULT;
using com::Variant;

namespace {

HRESULT key_exists(const DispatchCall& call) {
  return call.raise(com::control_error(457),
                    u"This key is already associated with an element of this collection");
}

HRESULT not_found(const DispatchCall& call) {
  return call.raise(com::control_error(32811), u"Element not found");
}

}  // namespace

// DISPIDs as the original type library numbers them.
const com::DispatchTable<Dictionary>& Dictionary::dispatch_table() {
  using namespace com;
  static const DispatchTable<Dictionary> table(u"Dictionary", {
      {u"Item", DISPID_VALUE, DISPATCH_PROPERTYGET, &Dictionary::get_item, {VT_VARIANT}},
      {u"Item", DISPID_VALUE, DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF, &Dictionary::put_item,
       {VT_VARIANT, VT_VARIANT}},
      {u"Add", 1, DISPATCH_METHOD, &Dictionary::add, {VT_VARIANT, VT_VARIANT}},
      {u"Count", 2, DISPATCH_PROPERTYGET, &Dictionary::count},
      {u"Exists", 3, DISPATCH_METHOD, &Dictionary::exists, {VT_VARIANT}},
      {u"Items", 4, DISPATCH_METHOD, &Dictionary::items},
      {u"Key", 5, DISPATCH_PROPERTYPUT, &Dictionary::put_key, {VT_VARIANT, VT_VARIANT}},
      {u"Keys", 6, DISPATCH_METHOD, &Dictionary::keys},
      {u"Remove", 7, DISPATCH_METHOD, &Dictionary::remove, {VT_VARIANT}},
      {u"RemoveAll", 8, DISPATCH_METHOD, &Dictionary::remove_all},
      {u"CompareMode", 9, DISPATCH_PROPERTYGET, &Dictionary::get_compare_mode},
      {u"CompareMode", 9, DISPATCH_PROPERTYPUT, &Dictionary::put_compare_mode, {VT_I4}},
      {u"_NewEnum", DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &Dictionary::new_enum},
  });
  return table;
}

HRESULT Dictionary::key_of(const Variant& v, DictionaryKey* out) const {
  return DictionaryKey::from(v, compare_mode_ != 0, out);
}

Dictionary::Entries::iterator Dictionary::find(const DictionaryKey& key) {
  auto it = index_.find(key);
  return it == index_.end() ? entries_.end() : it->second;
}

void Dictionary::insert(DictionaryKey key, const Variant& key_value, const Variant& item) {
  charge_.grow(bytes_per_entry);
  entries_.push_back(Entry{key_value.deref(), item.deref()});
  index_.emplace(std::move(key), std::prev(entries_.end()));
}

// Reading a key that is not there adds it, as the original does.
HRESULT Dictionary::get_item(DispatchCall& call) {
  DictionaryKey key;
  if (HRESULT hr = key_of(call.args[0], &key); com::failed(hr)) return hr;
  auto it = find(key);
  if (it == entries_.end()) {
    insert(std::move(key), call.args[0], Variant());
    call.result = Variant();
  } else {
    call.result = it->item;
  }
  return com::S_OK;
}

HRESULT Dictionary::put_item(DispatchCall& call) {
  DictionaryKey key;
  if (HRESULT hr = key_of(call.args[0], &key); com::failed(hr)) return hr;
  auto it = find(key);
  if (it == entries_.end()) {
    insert(std::move(key), call.args[0], call.args[1]);
  } else {
    it->item = call.args[1].deref();
  }
  return com::S_OK;
}

HRESULT Dictionary::add(DispatchCall& call) {
  DictionaryKey key;
  if (HRESULT hr = key_of(call.args[0], &key); com::failed(hr)) return hr;
  if (index_.count(key)) return key_exists(call);
  insert(std::move(key), call.args[0], call.args[1]);
  return com::S_OK;
}

HRESULT Dictionary::count(DispatchCall& call) {
  call.result = Variant(static_cast<std::int32_t>(entries_.size()));
  return com::S_OK;
}

HRESULT Dictionary::exists(DispatchCall& call) {
  DictionaryKey key;
  if (HRESULT hr = key_of(call.args[0], &key); com::failed(hr)) return hr;
  call.result = Variant(index_.count(key) != 0);
  return com::S_OK;
}

HRESULT Dictionary::items(DispatchCall& call) { return as_array(false, call.result); }
HRESULT Dictionary::keys(DispatchCall& call) { return as_array(true, call.result); }

// Key(old) = new: the item keeps its place in the order.
HRESULT Dictionary::put_key(DispatchCall& call) {
  DictionaryKey old_key, new_key;
  if (HRESULT hr = key_of(call.args[0], &old_key); com::failed(hr)) return hr;
  if (HRESULT hr = key_of(call.args[1], &new_key); com::failed(hr)) return hr;
  auto it = find(old_key);
  if (it == entries_.end()) return not_found(call);
  if (!(new_key == old_key)) {
    if (index_.count(new_key)) return key_exists(call);
    index_.erase(old_key);
    index_.emplace(std::move(new_key), it);
  }
  it->key = call.args[1].deref();
  return com::S_OK;
}

HRESULT Dictionary::remove(DispatchCall& call) {
  DictionaryKey key;
  if (HRESULT hr = key_of(call.args[0], &key); com::failed(hr)) return hr;
  auto it = index_.find(key);
  if (it == index_.end()) return not_found(call);
  entries_.erase(it->second);
  index_.erase(it);
  charge_.resize(entries_.size() * bytes_per_entry);
  return com::S_OK;
}

HRESULT Dictionary::remove_all(DispatchCall&) {
  entries_.clear();
  index_.clear();
  charge_.clear();
  return com::S_OK;
}

HRESULT Dictionary::get_compare_mode(DispatchCall& call) {
  call.result = Variant(compare_mode_);
  return com::S_OK;
}

// Keys already stored were matched under the old mode, so the mode only
// changes while the dictionary is empty.
HRESULT Dictionary::put_compare_mode(DispatchCall& call) {
  std::int32_t mode = call.args[0].i4();
  if (!entries_.empty() || mode < 0)
    return call.raise(com::control_error(5), u"Invalid procedure call or argument");
  compare_mode_ = mode;
  return com::S_OK;
}

// For Each walks a snapshot of the keys, so changing the dictionary inside
// the loop cannot disturb the walk.
HRESULT Dictionary::new_enum(DispatchCall& call) {
  std::vector<Variant> snapshot;
  snapshot.reserve(entries_.size());
  for (const Entry& e : entries_) snapshot.push_back(e.key);
  call.result = Variant(com::Ref<com::IDispatch>(com::EnumVariant::over(std::move(snapshot))));
  return com::S_OK;
}

HRESULT Dictionary::as_array(bool keys, Variant& result) const {
  std::shared_ptr<com::SafeArray> array;
  HRESULT hr = com::SafeArray::create({{0, static_cast<std::int32_t>(entries_.size())}}, false, &array);
  if (com::failed(hr)) return hr;
  std::size_t i = 0;
  for (const Entry& e : entries_) array->data()[i++] = keys ? e.key : e.item;
  result = Variant(std::move(array));
  return com::S_OK;
}

}  // namespace tap::vbs
