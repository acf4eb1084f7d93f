#pragma once
#include <map>
#include <string>

#include "platform/com/HResult.h"
#include "platform/com/Variant.h"

namespace tap {

// A session's values kept between script runs, and the defaults (the
// playback file's initial values) a script can return the store to.
// Values are owned copies: nothing a script does to its variables later
// reaches what was stored, nor the other way round.
class ValueStore {
 public:
  // Keys are ANSI byte strings compared byte by byte, so case counts.
  using ValueMap = std::map<std::string, com::Variant>;

  // The key a script value stands for: its text under locale 0x409 (no
  // default property of an object is called, so objects and Null fail),
  // converted to ANSI up to its first zero character.
  static com::HRESULT MakeKey(const com::Variant& cookie, std::string* key);

  // Fails with the key conversion's code, storing nothing.
  com::HRESULT Store(const com::Variant& cookie, const com::Variant& value);
  // A copy of the value, or Null for a missing key. A cookie that makes no
  // key leaves *out as it is and is no error.
  com::HRESULT Get(const com::Variant& cookie, com::Variant* out) const;
  // Empties the store, then copies the defaults in when restore_defaults.
  void Reset(bool restore_defaults);
  // Adds every entry to the current values and to the defaults; a key
  // already present keeps its value.
  void Seed(const ValueMap& initial);

  const ValueMap& current() const { return current_; }
  const ValueMap& defaults() const { return defaults_; }

 private:
  ValueMap current_;
  ValueMap defaults_;
};

}  // namespace tap
