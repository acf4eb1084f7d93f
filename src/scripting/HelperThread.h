#pragma once
#include <stdexcept>
#include <string>

namespace tap {

class Engine;

// The one worker thread of the process. Every use of the XML parser, the
// script host and the regular-expression object happens on it; callers on
// host threads hand it one request at a time and wait for it.
class HelperThread {
 public:
  class InitFailed : public std::runtime_error {
   public:
    explicit InitFailed(const std::string& what) : std::runtime_error(what) {}
  };

  // Starts the worker unless it runs; raises InitFailed when it cannot.
  static void Start();

  // Runs the session's LoadPlaybackFile on the worker and returns when it
  // has finished (or at once when the worker skips loads).
  static void LoadFile(Engine* session);

  // For tests: makes the next start fail as a failed thread creation would.
  static void fail_next_start_for_testing();
};

}  // namespace tap
