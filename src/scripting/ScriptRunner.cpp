#include "scripting/ScriptRunner.h"

#include <memory>

#include "diag/resource_string.h"
#include "platform/com/SafeArray.h"
#include "platform/os/code_page.h"
#include "scripting/PlaybackServer.h"

namespace tap {
namespace {

// A zero byte ends the text, as the conversion of a zero-terminated string
// does.
std::u16string wide_up_to_zero(std::string_view bytes) {
  return os::ansi_to_wide(bytes.substr(0, bytes.find('\0')));
}

vbs::ScriptResult failure(std::uint32_t message) {
  vbs::ScriptResult r;
  r.number = -1;
  resource_string text(message);
  if (const char* ansi = text.ansi()) r.description = os::ansi_to_wide(ansi);
  return r;
}

}  // namespace

ScriptRunner::ScriptRunner() = default;
ScriptRunner::~ScriptRunner() = default;

vbs::ScriptResult ScriptRunner::Run(std::string_view module, std::string_view procedure,
                                    std::int32_t timeout, PlaybackServerData& data) {
  if (!server_) server_ = com::make_ref<PlaybackServer>();
  server_->set_data(&data);

  // The argument list: one element, lower bound 1, the scripting object.
  std::shared_ptr<com::SafeArray> args;
  if (com::failed(com::SafeArray::create({{1, 1}}, true, &args)) || !args)
    return failure(msg_out_of_memory);
  if (args->data().size() != 1) return failure(msg_internal_error);
  args->data()[0] = com::Variant(com::Ref<com::IDispatch>(server_));

  host_.reset();
  host_.set_timeout(timeout);
  vbs::ScriptResult result = host_.add_code(wide_up_to_zero(module));
  if (result.ok()) result = host_.run(wide_up_to_zero(procedure), args->data());
  // The block may end with its session; the object must not outlive it
  // pointing there.
  server_->set_data(nullptr);
  return result;
}

}  // namespace tap
