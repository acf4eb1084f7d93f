#pragma once
// Scripting.Dictionary: keys in insertion order with their items. Members:
// Item (default; reading a missing key adds it as Empty), Add, Exists,
// Remove, RemoveAll, Keys, Items, Count, CompareMode (settable while
// empty), Key (put renames) and _NewEnum, which walks the keys.
#include <list>
#include <unordered_map>

#include "platform/com/DispatchTable.h"
#include "platform/com/MemoryMeter.h"
#include "vbscript/objects/DictionaryKey.h"

namespace tap::vbs {

class Dictionary final : public com::DispatchObject<Dictionary> {
 public:
  static const com::DispatchTable<Dictionary>& dispatch_table();

 private:
  struct Entry {
    com::Variant key;
    com::Variant item;
  };
  using Entries = std::list<Entry>;

  com::HRESULT get_item(com::DispatchCall& call);
  com::HRESULT put_item(com::DispatchCall& call);
  com::HRESULT add(com::DispatchCall& call);
  com::HRESULT count(com::DispatchCall& call);
  com::HRESULT exists(com::DispatchCall& call);
  com::HRESULT items(com::DispatchCall& call);
  com::HRESULT keys(com::DispatchCall& call);
  com::HRESULT put_key(com::DispatchCall& call);
  com::HRESULT remove(com::DispatchCall& call);
  com::HRESULT remove_all(com::DispatchCall& call);
  com::HRESULT get_compare_mode(com::DispatchCall& call);
  com::HRESULT put_compare_mode(com::DispatchCall& call);
  com::HRESULT new_enum(com::DispatchCall& call);

  com::HRESULT key_of(const com::Variant& v, DictionaryKey* out) const;
  // The entry of key, or entries_.end().
  Entries::iterator find(const DictionaryKey& key);
  void insert(DictionaryKey key, const com::Variant& key_value, const com::Variant& item);
  com::HRESULT as_array(bool keys, com::Variant& result) const;

  Entries entries_;
  std::unordered_map<DictionaryKey, Entries::iterator, DictionaryKeyHash> index_;
  std::int32_t compare_mode_ = 0;  // vbBinaryCompare
  com::MeterCharge charge_;        // the entries, at an estimated size each
};

}  // namespace tap::vbs
