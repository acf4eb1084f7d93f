#include "driver/SessionScripting.h"

#include "scripting/HelperThread.h"
#include "scripting/PlaybackServerData.h"

namespace tap {

namespace {
constexpr std::string_view kWriteProcedure = "ExecuteWrite";
constexpr std::string_view kReadProcedure = "ExecuteRead";
}  // namespace

SessionScripting::SessionScripting() = default;
SessionScripting::~SessionScripting() = default;

PlaybackServerData& SessionScripting::data() {
  if (!data_) data_ = std::make_unique<PlaybackServerData>();
  return *data_;
}

void SessionScripting::InitStoredValues(const InitialValues& values) {
  PlaybackServerData::ValueMap map(values.begin(), values.end());
  data().InitStoredValues(map);
}

bool SessionScripting::MatchRegExp(std::string_view subject, std::string_view pattern,
                                   bool ignore_case) {
  return HelperThread::MatchRegExp(subject, pattern, &data(), ignore_case);
}

ScriptSession::WriteResults SessionScripting::RunWriteScript(const std::string& script,
                                                             std::int32_t script_timeout,
                                                             std::uint32_t flags,
                                                             std::int32_t timeout,
                                                             std::string_view written) {
  PlaybackServerData& block = data();
  block.SetWriteContext(flags, timeout, written);
  HelperThread::RunScript(script, kWriteProcedure, static_cast<std::uint32_t>(script_timeout),
                          &block);
  PlaybackServerData::WriteResults r = block.GetWriteResults();
  return {r.actual_written, r.return_value};
}

SessionScripting::ReadResults SessionScripting::RunReadScript(const std::string& script,
                                                              std::int32_t script_timeout,
                                                              const ReadRequest& read,
                                                              const AnsweredWrite& write) {
  PlaybackServerData& block = data();
  block.SetReadContext(read.termination, read.flags, read.timeout, read.buffer_length,
                       write.actual_written, write.flags, write.return_value, write.bytes);
  HelperThread::RunScript(script, kReadProcedure, static_cast<std::uint32_t>(script_timeout),
                          &block);
  PlaybackServerData::ReadResults r = block.GetReadResults();
  return {std::move(r.text), r.stop_reason, r.return_value};
}

}  // namespace tap
