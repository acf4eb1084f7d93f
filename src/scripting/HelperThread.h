#pragma once
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tap {

class PlaybackServerData;

// The one worker thread of the process. Every use of the XML parser, the
// script host and the regular-expression layer happens on it; callers on
// host threads hand it one request at a time and wait for it without time
// limit. It knows no session: a load is a job it is handed.
class HelperThread {
 public:
  class InitFailed : public std::runtime_error {
   public:
    explicit InitFailed(const std::string& what) : std::runtime_error(what) {}
  };

  // Starts the worker unless it runs; raises InitFailed when it cannot.
  static void Start();

  // Runs `load` on the worker and returns when it has finished. Without a
  // script host the worker loads nothing and returns at once. `load` must
  // let nothing escape.
  static void LoadFile(const std::function<void()>& load);

  // Runs `procedure` of the module `code` with the scripting object pointed
  // at `data`. Failures and time-outs stay on the worker: the outcome is
  // what the script left in the block.
  static void RunScript(std::string_view code, std::string_view procedure, std::uint32_t timeout,
                        PlaybackServerData* data);

  // Searches `subject` (up to its first zero byte) for `pattern`; on a
  // match stores the capture groups in `data` and returns true.
  static bool MatchRegExp(std::string_view subject, std::string_view pattern,
                          PlaybackServerData* data, bool ignore_case);

  // The scripting object's DisplayErrors flag, cleared at every script run.
  static bool DisplayErrors();
  static void SetDisplayErrors(bool on);

  // How the last script run or match that failed ended: its error number
  // (0 when none failed since the worker started), description and line.
  struct Failure {
    std::int32_t number = 0;
    std::string description;
    std::int32_t line = 0;
  };
  static Failure LastFailure();

  // For tests: makes the next start fail as a failed thread creation would.
  static void fail_next_start_for_testing();
  // For tests: the next started worker cannot set up these services.
  static void fail_services_for_testing(bool script_host, bool regex);
  // For tests: ends the worker so that the next request starts a new one.
  static void stop_for_testing();
};

}  // namespace tap
