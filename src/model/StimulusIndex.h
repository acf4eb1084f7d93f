#pragma once
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/SRPair.h"

namespace tap {

class ScriptSession;

// Finds the first pair in file order whose stimulus accepts a write,
// without asking the pairs one by one: exact stimuli are found by their
// bytes, and only the other stimuli that come before the exact candidate
// (scripted ones, which must see the write in order) are asked in turn.
// Views into the pairs' stimuli: rebuild it when the list changes.
class StimulusIndex {
 public:
  explicit StimulusIndex(const std::vector<SRPair>& pairs);

  // The position of the matching pair, or -1.
  std::int32_t find(std::vector<SRPair>& pairs, ScriptSession* session, std::string_view written,
                    std::uint32_t flags) const;

 private:
  // Usable exact stimuli by their bytes, each list in file order.
  std::unordered_map<std::string_view, std::vector<std::int32_t>> exact_;
  // Usable pairs with any other stimulus, in file order.
  std::vector<std::int32_t> others_;
};

}  // namespace tap
