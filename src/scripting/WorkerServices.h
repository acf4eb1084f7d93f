#pragma once
#include <functional>
#include <memory>

#include "scripting/RegExpEngine.h"
#include "scripting/ScriptHost.h"

namespace tap {

// The platform objects the worker creates at start-up. A null member is an
// object that could not be created: without a script host the worker skips
// loads and script runs, without a regex engine every match answers false.
struct WorkerServices {
  std::unique_ptr<ScriptHost> host;
  std::unique_ptr<RegExpEngine> regex;
};

// Runs on the worker thread at its start-up.
WorkerServices create_worker_services();

}  // namespace tap
