#include "model/StimulusIndex.h"

#include "model/ExactStringStimulus.h"

namespace tap {

StimulusIndex::StimulusIndex(const std::vector<SRPair>& pairs) {
  exact_.reserve(pairs.size());
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const SRPair& pair = pairs[i];
    if (pair.unusable() || !pair.stimulus()) continue;
    const auto position = static_cast<std::int32_t>(i);
    if (auto* exact = dynamic_cast<const ExactStringStimulus*>(pair.stimulus()))
      exact_[exact->fields().bytes].push_back(position);
    else
      others_.push_back(position);
  }
}

std::int32_t StimulusIndex::find(std::vector<SRPair>& pairs, ScriptSession* session,
                                 std::string_view written, std::uint32_t flags) const {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(written.data());
  const auto count = static_cast<std::uint32_t>(written.size());
  std::int32_t exact = -1;
  if (auto it = exact_.find(written); it != exact_.end()) {
    for (std::int32_t i : it->second) {
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
