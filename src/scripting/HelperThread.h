#pragma once
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace tap {

class Engine;
class PlaybackServerData;
struct WorkerServices;

// The one worker thread of the process. Every use of the XML parser, the
// script host and the regular-expression object happens on it; callers on
// host threads hand it one request at a time and wait for it without time
// limit.
class HelperThread {
 public:
  class InitFailed : public std::runtime_error {
   public:
    explicit InitFailed(const std::string& what) : std::runtime_error(what) {}
  };

  // Starts the worker unless it runs; raises InitFailed when it cannot.
  static void Start();

  // Runs the session's LoadPlaybackFile on the worker and returns when it
  // has finished (or at once when the worker has no script host).
  static void LoadFile(Engine* session);

  // Runs `procedure` of the module `code` with the scripting object pointed
  // at `data`. Failures and time-outs stay on the worker: the outcome is
  // what the script left in the block.
  static void RunScript(const std::string& code, const std::string& procedure,
                        std::uint32_t timeout, PlaybackServerData* data);

  // Searches `subject` (up to its first zero byte) for `pattern`; on a
  // match stores the capture groups in `data` and returns true.
  static bool MatchRegExp(const std::string& subject, const std::string& pattern,
                          PlaybackServerData* data, bool ignore_case);

  // The scripting object's DisplayErrors flag, cleared at every script run.
  static bool DisplayErrors();
  static void SetDisplayErrors(bool on);

  // For tests: makes the next start fail as a failed thread creation would.
  static void fail_next_start_for_testing();
  // For tests: the services the next started worker gets instead of the
  // real ones (an empty function restores those).
  static void set_services_for_testing(std::function<WorkerServices()> factory);
  // For tests: ends the worker so that the next request starts a new one.
  static void stop_for_testing();
};

}  // namespace tap
