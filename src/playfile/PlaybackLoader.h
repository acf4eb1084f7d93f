#pragma once
#include <cstdint>
#include <functional>

#include "playfile/SessionAddress.h"

namespace tap {

class SessionTables;
class PlaybackServerData;

struct LoadOutcome {
  std::int32_t status = 24;
  // No stream has the session's address: the caller asks the default
  // handler's open for the status.
  bool no_matching_stream = false;
};

// Loads the process's playback file for one session: finds it through the
// host's region, validates it, chooses the session's stream in turn, fills
// the tables and seeds the value store. Lets nothing escape.
LoadOutcome load_playback_file(const SessionAddress& address, SessionTables& tables,
                               const std::function<PlaybackServerData&()>& server_data);

}  // namespace tap
