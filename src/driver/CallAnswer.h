#pragma once
#include <cstdint>

namespace tap {

class Engine;

// What answered a session's write, read or DoCommand call, for the driver
// trace. It is learnt from the session's state around the call, so that
// untraced calls keep no record of it.
struct CallAnswer {
  enum Source : std::uint8_t {
    failed,           // the call ended with a failure before it was answered
    recording,        // a pair or DoCommand entry of the recording
    default_handler,  // the default handler's fixed answer
  };
  Source source = failed;
  // The pair or DoCommand entry, by position in its list, and its response:
  // for a write, the one the following reads get.
  std::int32_t entry = -1;
  std::int32_t response = -1;
  // The recorded wait of the answer in milliseconds, before the timeout
  // bounds it.
  std::int32_t wait = 0;

  // A write leaves its pair current, or none when nothing matched.
  static CallAnswer of_write(const Engine& engine, std::int32_t status);

  // A read answers from the current pair's current response, which the read
  // does not move; what it was must be noted before the call.
  struct BeforeRead {
    std::int32_t pair = -1;
    std::int32_t response = -1;
    bool pending = false;
    std::int32_t kind = 0;
    std::int32_t wait = 0;
    std::int64_t length = 0;
  };
  static BeforeRead before_read(const Engine& engine);
  static CallAnswer of_read(const BeforeRead& before, std::int32_t status, std::uint32_t actual);

  // The entry a DoCommand call will be answered by, asked before the call
  // (matching changes nothing); -1 for none.
  static std::int32_t docommand_entry(Engine& engine, std::uint32_t command, std::uint32_t flags,
                                      std::int32_t size, const std::uint8_t* data);
  static CallAnswer of_docommand(const Engine& engine, std::int32_t entry, std::int32_t status);
};

}  // namespace tap
