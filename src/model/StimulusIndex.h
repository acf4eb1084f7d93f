#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/SRPair.h"

namespace tap {

class ScriptSession;

// Finds the first pair in file order whose stimulus accepts a write,
// without asking the pairs one by one: exact stimuli are found by their
// bytes, and only the other stimuli that come before the exact candidate
// (scripted ones, which must see the write in order) are asked in turn.
// Views into the pairs' stimuli: rebuild it when the list changes.
//
// Kept in a few flat arrays rather than a node per stimulus: a session
// builds it at its first write and drops it at its close, and freeing
// tens of thousands of scattered nodes made the close cost milliseconds.
class StimulusIndex {
 public:
  explicit StimulusIndex(const std::vector<SRPair>& pairs);

  // The position of the matching pair, or -1.
  std::int32_t find(std::vector<SRPair>& pairs, ScriptSession* session, std::string_view written,
                    std::uint32_t flags) const;

 private:
  // One per distinct byte string of the usable exact stimuli, by open
  // addressing; `first` is -1 in an empty slot.
  struct Slot {
    std::uint32_t hash = 0;
    std::int32_t first = -1;  // the first pair with these bytes
    std::int32_t last = -1;
  };
  const Slot* slot_of(const std::vector<SRPair>& pairs, std::string_view bytes) const;

  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
  // By pair position: the next pair with the same bytes, in file order.
  std::vector<std::int32_t> next_;
  // Usable pairs with any other stimulus, in file order.
  std::vector<std::int32_t> others_;
};

}  // namespace tap
