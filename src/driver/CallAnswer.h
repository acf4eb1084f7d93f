#pragma once
#include <cstdint>

namespace tap {

// What answered a session's last write, read or DoCommand call. Kept for
// the driver trace; setting it costs a few stores per call.
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
};

}  // namespace tap
