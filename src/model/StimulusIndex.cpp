#include "model/StimulusIndex.h"

#include <functional>

#include "model/ExactStringStimulus.h"

namespace tap {
namespace {

std::uint32_t hash_of(std::string_view bytes) {
  return static_cast<std::uint32_t>(std::hash<std::string_view>{}(bytes));
}

// Only pairs with an exact stimulus are ever in a slot.
std::string_view exact_bytes(const SRPair& pair) {
  return static_cast<const ExactStringStimulus*>(pair.stimulus())->fields().bytes;
}

}  // namespace

StimulusIndex::StimulusIndex(const std::vector<SRPair>& pairs) : next_(pairs.size(), -1) {
  std::size_t capacity = 16;
  while (capacity < 2 * pairs.size()) capacity *= 2;
  slots_.resize(capacity);
  mask_ = capacity - 1;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const SRPair& pair = pairs[i];
    if (pair.unusable() || !pair.stimulus()) continue;
    const auto position = static_cast<std::int32_t>(i);
    auto* exact = dynamic_cast<const ExactStringStimulus*>(pair.stimulus());
    if (!exact) {
      others_.push_back(position);
      continue;
    }
    const std::string_view bytes = exact->fields().bytes;
    const std::uint32_t hash = hash_of(bytes);
    std::size_t at = hash & mask_;
    while (slots_[at].first >= 0 &&
           !(slots_[at].hash == hash && exact_bytes(pairs[static_cast<std::size_t>(slots_[at].first)]) == bytes))
      at = (at + 1) & mask_;
    Slot& slot = slots_[at];
    if (slot.first < 0) {
      slot.hash = hash;
      slot.first = position;
    } else {
      next_[static_cast<std::size_t>(slot.last)] = position;
    }
    slot.last = position;
  }
}

const StimulusIndex::Slot* StimulusIndex::slot_of(const std::vector<SRPair>& pairs, std::string_view bytes) const {
  const std::uint32_t hash = hash_of(bytes);
  for (std::size_t at = hash & mask_; slots_[at].first >= 0; at = (at + 1) & mask_) {
    const Slot& slot = slots_[at];
    if (slot.hash == hash && exact_bytes(pairs[static_cast<std::size_t>(slot.first)]) == bytes) return &slot;
  }
  return nullptr;
}

std::int32_t StimulusIndex::find(std::vector<SRPair>& pairs, ScriptSession* session,
                                 std::string_view written, std::uint32_t flags) const {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(written.data());
  const auto count = static_cast<std::uint32_t>(written.size());
  std::int32_t exact = -1;
  if (const Slot* slot = slot_of(pairs, written)) {
    for (std::int32_t i = slot->first; i >= 0; i = next_[static_cast<std::size_t>(i)]) {
      if (pairs[static_cast<std::size_t>(i)].Matches(session, bytes, count, flags)) {
        exact = i;
        break;
      }
    }
  }
  for (std::int32_t i : others_) {
    if (exact >= 0 && i > exact) break;
    if (pairs[static_cast<std::size_t>(i)].Matches(session, bytes, count, flags)) return i;
  }
  return exact;
}

}  // namespace tap
