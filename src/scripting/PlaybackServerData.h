#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scripting/ValueStore.h"

namespace tap {

// A session's scripting block: the session fills it before a script runs
// on the worker and takes the results out afterwards; it also keeps the
// session's value store and the capture groups of the last match.
class PlaybackServerData {
 public:
  using ValueMap = ValueStore::ValueMap;

  struct WriteResults {
    std::uint32_t actual_written = 0;
    std::int32_t return_value = 0;
  };
  struct ReadResults {
    std::string text;
    std::int32_t stop_reason = 0;
    std::int32_t return_value = 0;
  };

  virtual ~PlaybackServerData() = default;

  void SetWriteContext(std::uint32_t flags, std::int32_t timeout, std::string_view written);
  WriteResults GetWriteResults() const;
  void SetReadContext(std::uint8_t termination, std::uint32_t read_flags, std::int32_t read_timeout,
                      std::uint32_t buffer_length, std::uint32_t write_actual,
                      std::uint32_t write_flags, std::int32_t write_return_value,
                      std::string_view write_bytes);
  ReadResults GetReadResults() const;

  // Seeds the store once per session: every entry goes into the current
  // values and the defaults; a key already present keeps its value.
  void InitStoredValues(const ValueMap& initial);

  // The fields as the scripting object reads and writes them.
  bool read_context = true;
  std::uint8_t ReadTermChar = 0;
  std::int32_t ReadFlags = 0;
  std::int32_t ReadTimeout = 0;
  std::int32_t WriteActualWritten = 0;
  std::int32_t WriteFlags = 0;
  std::int32_t WriteReturnValue = 0;
  std::string WriteText;
  std::string ReadText;
  std::int32_t ReadStopReason = 0;
  std::int32_t ReadReturnValue = 0;
  std::int32_t ReadBufferLength = 0;
  std::int32_t WriteTimeout = 0;
  ValueStore values;
  std::vector<std::string> captures;
};

}  // namespace tap
