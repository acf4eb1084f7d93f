#include "scripting/WorkerServices.h"

namespace tap {
namespace {

// Stands in until the VBScript engine is wired in: it accepts modules and
// runs nothing, so loads go ahead and scripted answers keep the values the
// session put into the block.
class InertScriptHost : public ScriptHost {
 public:
  void Reset() override {}
  void SetTimeout(std::int32_t) override {}
  void AddCode(const std::string&) override {}
  void Run(const std::string&, PlaybackServerData&) override {}
};

}  // namespace

WorkerServices create_worker_services() {
  WorkerServices services;
  services.host = std::make_unique<InertScriptHost>();
  return services;
}

}  // namespace tap
