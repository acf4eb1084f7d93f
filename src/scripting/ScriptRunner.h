#pragma once
#include <cstdint>
#include <string_view>

#include "platform/com/RefCounted.h"
#include "vbscript/host/ScriptHost.h"

namespace tap {

class PlaybackServer;
class PlaybackServerData;

// The worker's script host: the VBScript engine's host, driven for one
// procedure run at a time with the scripting object as its one argument.
// Lives on the worker thread only.
class ScriptRunner {
 public:
  ScriptRunner();
  ~ScriptRunner();
  ScriptRunner(const ScriptRunner&) = delete;
  ScriptRunner& operator=(const ScriptRunner&) = delete;

  // Resets the host, sets the time-out (-1: none), adds `module` and calls
  // `procedure` with the scripting object pointed at `data`. Texts are ANSI
  // and end at their first zero byte. The result says how the run ended;
  // whatever the script stored in `data` before it ended stays there.
  vbs::ScriptResult Run(std::string_view module, std::string_view procedure, std::int32_t timeout,
                        PlaybackServerData& data);

 private:
  vbs::ScriptHost host_;
  // Created at the first run, then only re-pointed at each run's block.
  com::Ref<PlaybackServer> server_;
};

}  // namespace tap
