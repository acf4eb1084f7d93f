#include "driver/CallAnswer.h"

#include "driver/Engine.h"
#include "driver/status.h"

namespace tap {

CallAnswer CallAnswer::of_write(const Engine& engine, std::int32_t status) {
  const std::int32_t index = engine.tables().current_pair_index();
  // Without a pair the write ends in the default handler's 15 or a failure.
  if (index < 0) return {status == status::unknown_stimulus ? default_handler : failed};
  const SRPair& pair = engine.tables().pairs()[static_cast<std::size_t>(index)];
  return {recording, index, pair.currentResponse(), pair.LastWrite().waitTime};
}

CallAnswer::BeforeRead CallAnswer::before_read(const Engine& engine) {
  BeforeRead before;
  before.pair = engine.tables().current_pair_index();
  if (before.pair < 0) return before;
  const SRPair& pair = engine.tables().pairs()[static_cast<std::size_t>(before.pair)];
  before.pending = pair.HasPendingResponse();
  if (!before.pending) return before;
  before.response = pair.currentResponse();
  const SRPair::Response& response = pair.CurrentResponse();
  before.kind = response.responseKind();
  before.wait = response.waitTime();
  before.length = static_cast<std::int64_t>(response.bytes().size());
  return before;
}

CallAnswer CallAnswer::of_read(const BeforeRead& before, std::int32_t status,
                               std::uint32_t actual) {
  if (!before.pending) return {status == status::unknown_stimulus ? default_handler : failed};
  // The pair's current response does not move on a read.
  CallAnswer answer{recording, before.pair, before.response, 0};
  switch (before.kind) {
    case SRPair::Response::kExactString:
    case SRPair::Response::kScriptResult:
      // Each piece carries its share of the response's wait.
      if (before.length > 0)
        answer.wait = static_cast<std::int32_t>(before.wait * static_cast<std::int64_t>(actual) / before.length);
      break;
    case SRPair::Response::kScriptPending:
      break;
    default:
      return {failed};
  }
  return answer;
}

std::int32_t CallAnswer::docommand_entry(Engine& engine, std::uint32_t command,
                                         std::uint32_t flags, std::int32_t size,
                                         const std::uint8_t* data) {
  SessionTables& tables = engine.tables();
  const DoCommandSR* entry = tables.FindMatchingDoCommand(command, flags, size, data);
  return entry ? static_cast<std::int32_t>(entry - tables.docommands().data()) : -1;
}

CallAnswer CallAnswer::of_docommand(const Engine& engine, std::int32_t entry, std::int32_t status) {
  if (entry < 0) return {status == status::no_docommand_match ? default_handler : failed};
  const DoCommandSR& answered = engine.tables().docommands()[static_cast<std::size_t>(entry)];
  const std::int32_t response = answered.currentResponse;
  const bool known = response >= 0 && static_cast<std::size_t>(response) < answered.responses.size();
  return {recording, entry, response,
          known ? answered.responses[static_cast<std::size_t>(response)].waitTime : 0};
}

}  // namespace tap
