#pragma once
#include <cstdint>
#include <string>

namespace tap {

class PlaybackServerData;

// What the worker needs of a script host. Lives on the worker thread only.
// Every operation reports a failure by throwing std::runtime_error with the
// host's description; the worker swallows it.
class ScriptHost {
 public:
  virtual ~ScriptHost() = default;
  // Discards all code, variables and objects of earlier runs.
  virtual void Reset() = 0;
  // -1: no time limit.
  virtual void SetTimeout(std::int32_t milliseconds) = 0;
  // Module-level code runs at once. The text is 8-bit ANSI.
  virtual void AddCode(const std::string& module_text) = 0;
  // Calls the procedure with the scripting object, pointed at `data`, as
  // its one argument.
  virtual void Run(const std::string& procedure, PlaybackServerData& data) = 0;
};

}  // namespace tap
