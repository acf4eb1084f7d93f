#include "driver/DefaultVarnelHandler.h"

#include "driver/status.h"

namespace tap {

std::int32_t DefaultVarnelHandler::Write(Engine*, std::uint32_t, std::int32_t, const std::uint8_t*,
                                         std::uint32_t, std::uint32_t* actual) {
  if (actual) *actual = 0;
  return status::unknown_stimulus;
}

std::int32_t DefaultVarnelHandler::DoCommand(Engine*, std::uint32_t, std::int32_t, std::uint32_t,
                                             std::int32_t, std::int32_t, std::uint8_t*) {
  return status::no_docommand_match;
}

std::int32_t DefaultVarnelHandler::Read(Engine*, std::uint32_t, std::int32_t, std::uint8_t,
                                        std::uint8_t* buffer, std::uint32_t count,
                                        std::uint32_t* actual, std::int32_t*) {
  if (buffer && count >= 1) buffer[0] = 0;
  if (actual) *actual = 0;
  return status::unknown_stimulus;
}

std::int32_t DefaultVarnelHandler::Open(const char*, std::uint32_t, std::uint32_t, std::uint32_t,
                                        const char*, const char*, std::uint64_t) {
  return status::no_stream_for_address;
}

void DefaultVarnelHandler::Close(Engine*) {}

DefaultVarnelHandler& DefaultHandler() {
  static DefaultVarnelHandler instance;
  return instance;
}

}  // namespace tap
