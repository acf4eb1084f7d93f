#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/ScriptSession.h"
#include "playfile/LoadResult.h"

namespace tap {

class PlaybackServerData;

// A session's side of scripting: its scripting block (created on first
// use) and the worker requests that run against it.
class SessionScripting final : public ScriptSession {
 public:
  SessionScripting();
  ~SessionScripting() override;

  PlaybackServerData& data();
  bool has_data() const { return data_ != nullptr; }

  // Seeds the value store with the file's initial values.
  void InitStoredValues(const InitialValues& values);

  bool MatchRegExp(std::string_view subject, std::string_view pattern, bool ignore_case) override;
  WriteResults RunWriteScript(const std::string& script, std::int32_t script_timeout,
                              std::uint32_t flags, std::int32_t timeout,
                              std::string_view written) override;

  // What a read script left: the text, its stop reason and status.
  struct ReadResults {
    std::string text;
    std::int32_t stop_reason = 0;
    std::int32_t return_value = 0;
  };
  struct ReadRequest {
    std::uint8_t termination = 0;
    std::uint32_t flags = 0;
    std::int32_t timeout = 0;
    std::uint32_t buffer_length = 0;
  };
  // The answered write: the pair's last matched write.
  struct AnsweredWrite {
    std::uint32_t actual_written = 0;
    std::uint32_t flags = 0;
    std::int32_t return_value = 0;
    std::string_view bytes;
  };
  // Raises HelperThread::InitFailed when the worker cannot start.
  ReadResults RunReadScript(const std::string& script, std::int32_t script_timeout,
                            const ReadRequest& read, const AnsweredWrite& write);

 private:
  std::unique_ptr<PlaybackServerData> data_;
};

}  // namespace tap
