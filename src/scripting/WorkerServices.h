#pragma once
#include <memory>

#include "scripting/ScriptRunner.h"

namespace tap {

// The platform services the worker sets up once, at its start-up. A
// service that cannot be set up stays unavailable for the worker's life:
// without a script host the worker skips loads and script runs, without
// regular expressions every match answers false.
struct WorkerServices {
  std::unique_ptr<ScriptRunner> host;  // null: the script host is unavailable
  bool regex_available = false;

  // What start-up is told to fail, so that tests can see the paths a
  // machine without these services takes.
  struct Faults {
    bool script_host = false;
    bool regex = false;
  };
  static WorkerServices start(Faults faults);
};

}  // namespace tap
