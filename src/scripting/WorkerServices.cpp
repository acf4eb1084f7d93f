#include "scripting/WorkerServices.h"

#include <stdexcept>

#include "platform/regex/match_ansi.h"

namespace tap {
namespace {

template <typename Setup>
bool set_up(bool fault, Setup setup) {
  if (fault) return false;
  try {
    return setup();
  } catch (...) {
    return false;
  }
}

}  // namespace

WorkerServices WorkerServices::start(Faults faults) {
  WorkerServices services;
  set_up(faults.script_host, [&] {
    services.host = std::make_unique<ScriptRunner>();
    return true;
  });
  // The regex layer is ready when it compiles and runs a pattern.
  services.regex_available = set_up(faults.regex, [] { return regex::match_ansi("a", "a", false).matched(); });
  return services;
}

}  // namespace tap
