#include "scripting/PlaybackServerData.h"

namespace tap {

void PlaybackServerData::SetWriteContext(std::uint32_t flags, std::int32_t timeout,
                                         std::string_view written) {
  read_context = false;
  WriteFlags = static_cast<std::int32_t>(flags);
  WriteTimeout = timeout;
  WriteText.assign(written);
  WriteReturnValue = 0;
  WriteActualWritten = static_cast<std::int32_t>(written.size());
}

PlaybackServerData::WriteResults PlaybackServerData::GetWriteResults() const {
  return {static_cast<std::uint32_t>(WriteActualWritten), WriteReturnValue};
}

void PlaybackServerData::SetReadContext(std::uint8_t termination, std::uint32_t read_flags,
                                        std::int32_t read_timeout, std::uint32_t buffer_length,
                                        std::uint32_t write_actual, std::uint32_t write_flags,
                                        std::int32_t write_return_value,
                                        std::string_view write_bytes) {
  ReadTermChar = termination;
  ReadFlags = static_cast<std::int32_t>(read_flags);
  ReadTimeout = read_timeout;
  ReadBufferLength = static_cast<std::int32_t>(buffer_length);
  WriteActualWritten = static_cast<std::int32_t>(write_actual);
  WriteFlags = static_cast<std::int32_t>(write_flags);
  WriteReturnValue = write_return_value;
  WriteText.assign(write_bytes);
  // WriteTimeout stays: a read script sees the last write script's value.
  ReadText.clear();
  ReadStopReason = 0;
  read_context = true;
  ReadReturnValue = 128;
}

PlaybackServerData::ReadResults PlaybackServerData::GetReadResults() const {
  return {ReadText, ReadStopReason, ReadReturnValue};
}

void PlaybackServerData::InitStoredValues(const ValueMap& initial) {
  values.Seed(initial);
}

}  // namespace tap
