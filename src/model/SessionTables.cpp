#include "model/SessionTables.h"

namespace tap {

SRPair* SessionTables::FindMatchingPair(ScriptSession* session, const std::uint8_t* bytes,
                                        std::uint32_t count, std::uint32_t flags) {
  // Cleared first, so a failed match also ends the previous pair's turn.
  currentPair_ = kNone;
  for (std::size_t i = 0; i < pairs_.size(); ++i) {
    if (pairs_[i].Matches(session, bytes, count, flags)) {
      currentPair_ = static_cast<std::int32_t>(i);
      return &pairs_[i];
    }
  }
  return nullptr;
}

DoCommandSR* SessionTables::FindMatchingDoCommand(std::uint32_t command, std::uint32_t flags,
                                                  std::int32_t size, const std::uint8_t* block) {
  for (DoCommandSR& entry : docommands_)
    if (entry.Matches(command, flags, size, block)) return &entry;
  return nullptr;
}

}  // namespace tap
