#pragma once
#include <cstdint>

namespace tap {

class Engine;

// The fixed answers of a session that its recording cannot answer. It holds
// no data, so all sessions share the one instance at once.
class DefaultVarnelHandler {
 public:
  virtual std::int32_t Write(Engine* session, std::uint32_t flags, std::int32_t timeout,
                             const std::uint8_t* buffer, std::uint32_t count, std::uint32_t* actual);
  virtual std::int32_t DoCommand(Engine* session, std::uint32_t flags, std::int32_t timeout,
                                 std::uint32_t command, std::int32_t size, std::int32_t extra,
                                 std::uint8_t* data);
  virtual std::int32_t Read(Engine* session, std::uint32_t flags, std::int32_t timeout,
                            std::uint8_t termination, std::uint8_t* buffer, std::uint32_t count,
                            std::uint32_t* actual, std::int32_t* stop_reason);
  virtual std::int32_t Open(const char* address, std::uint32_t primary, std::uint32_t secondary,
                            std::uint32_t protocol, const char* bracket, const char* colon,
                            std::uint64_t extra);
  virtual void Close(Engine* session);
  virtual ~DefaultVarnelHandler() = default;
};

// The process-wide instance, created on first use and kept until unload.
DefaultVarnelHandler& DefaultHandler();

}  // namespace tap
