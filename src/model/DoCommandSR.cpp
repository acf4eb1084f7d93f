#include "model/DoCommandSR.h"

#include <algorithm>
#include <cstring>

#include "model/FlagsCompareMask.h"

namespace tap {

bool DoCommandSR::Matches(std::uint32_t cmd, std::uint32_t flags, std::int32_t size,
                          const std::uint8_t* block) const {
  if (cmd != command) return false;
  if (!ignoreFlags && !flags_equal(doCmdFlags, flags)) return false;
  // An entry without answers cannot come from a valid file; it is treated
  // as unusable so the call gets the default answer.
  if (unusable || responses.empty()) return false;
  if (static_cast<std::int64_t>(size) < static_cast<std::int64_t>(data.size())) return false;
  return data.empty() || (block && std::memcmp(block, data.data(), data.size()) == 0);
}

DoCommandSR::Answer DoCommandSR::AnswerDoCommand(std::uint8_t* block, std::int32_t size) {
  currentResponse = static_cast<std::int32_t>((currentResponse + 1) %
                                              static_cast<std::int64_t>(responses.size()));
  const DoCommandResponse& r = responses[currentResponse];
  if (matchKind == 1 && !r.data.empty() && block && size > 0) {
    // The surplus of a response longer than the caller's block is dropped.
    std::size_t n = std::min(r.data.size(), static_cast<std::size_t>(size));
    std::memcpy(block, r.data.data(), n);
  }
  return {r.returnValue, r.waitTime};
}

}  // namespace tap
