#include "model/SessionTables.h"

namespace tap {

SRPair* SessionTables::FindMatchingPair(ScriptSession* session, const std::uint8_t* bytes,
                                        std::uint32_t count, std::uint32_t flags) {
  // Cleared first, so a failed match also ends the previous pair's turn.
  currentPair_ = kNone;
  if (!index_) index_ = std::make_unique<StimulusIndex>(pairs_);
  std::string_view written(reinterpret_cast<const char*>(bytes), bytes ? count : 0);
  currentPair_ = index_->find(pairs_, session, written, flags);
  return CurrentPair();
}

DoCommandSR* SessionTables::FindMatchingDoCommand(std::uint32_t command, std::uint32_t flags,
                                                  std::int32_t size, const std::uint8_t* block) {
  for (DoCommandSR& entry : docommands_)
    if (entry.Matches(command, flags, size, block)) return &entry;
  return nullptr;
}

}  // namespace tap
