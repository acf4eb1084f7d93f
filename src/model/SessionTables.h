#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "model/DoCommandSR.h"
#include "model/SRPair.h"
#include "model/StimulusIndex.h"

namespace tap {

// A session's playback tables: the pairs and DoCommand entries of its
// record stream in file order, and the pair the last write matched. First
// match wins in both lists. Pairs are found through an index built at the
// first search after the list was last handed out for change, so a search
// costs the same however many pairs precede the match.
class SessionTables {
 public:
  static constexpr std::int32_t kNone = -1;

  std::vector<SRPair>& pairs() {
    index_.reset();
    return pairs_;
  }
  const std::vector<SRPair>& pairs() const { return pairs_; }
  std::vector<DoCommandSR>& docommands() { return docommands_; }
  const std::vector<DoCommandSR>& docommands() const { return docommands_; }

  // Clears CurrentPair, then makes the first matching pair current.
  SRPair* FindMatchingPair(ScriptSession* session, const std::uint8_t* bytes,
                           std::uint32_t count, std::uint32_t flags);
  DoCommandSR* FindMatchingDoCommand(std::uint32_t command, std::uint32_t flags,
                                     std::int32_t size, const std::uint8_t* block);

  SRPair* CurrentPair() {
    return currentPair_ == kNone ? nullptr : &pairs_[static_cast<std::size_t>(currentPair_)];
  }
  std::int32_t current_pair_index() const { return currentPair_; }

 private:
  std::vector<SRPair> pairs_;
  std::unique_ptr<StimulusIndex> index_;
  std::vector<DoCommandSR> docommands_;
  std::int32_t currentPair_ = kNone;
};

}  // namespace tap
