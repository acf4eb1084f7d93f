#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>

#include "model/FlagsCompareMask.h"

namespace tap {

// Earlier entries of a list that first match wins, by what they accept: a
// match key (the bytes, pattern or command a call must carry) and flags
// that either take no part or are compared under FlagsCompareMask. Finds
// the first earlier entry that accepts every call a later one would, in
// logarithmic time, so a list of any length is checked in one pass.
template <typename Key>
class CoverIndex {
 public:
  static constexpr std::size_t none = static_cast<std::size_t>(-1);

  std::size_t covering(const Key& key, bool ignores_flags, std::uint32_t flags) const {
    std::size_t found = none;
    if (auto it = any_flags_.find(key); it != any_flags_.end()) found = it->second;
    if (!ignores_flags) {
      auto it = same_flags_.find({key, flags & FlagsCompareMask});
      if (it != same_flags_.end() && (found == none || it->second < found)) found = it->second;
    }
    return found;
  }

  // Keeps the first entry of each kind: it is the one that answers.
  void add(const Key& key, bool ignores_flags, std::uint32_t flags, std::size_t index) {
    if (ignores_flags) any_flags_.emplace(key, index);
    else same_flags_.emplace(std::pair{key, flags & FlagsCompareMask}, index);
  }

 private:
  std::map<Key, std::size_t> any_flags_;
  std::map<std::pair<Key, std::uint32_t>, std::size_t> same_flags_;
};

}  // namespace tap
