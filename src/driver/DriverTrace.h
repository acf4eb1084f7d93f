#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "driver/CallAnswer.h"
#include "platform/os/AppendFile.h"

namespace tap {

class Engine;

// The opt-in trace of a process's entry calls: when TAPLAYBACK_TRACE names
// a file as the library is loaded, every call appends one TraceLine to it.
class DriverTrace {
 public:
  static constexpr const char* kVariable = "TAPLAYBACK_TRACE";

  // The process's trace, or null when the variable is unset or empty or
  // its file cannot be opened. Never destroyed, so that a call still
  // running while the process ends never finds it gone.
  static DriverTrace* from_environment();

  explicit DriverTrace(std::unique_ptr<os::AppendFile> file) : file_(std::move(file)) {}

  // `engine` is the session's when the call reached it, otherwise null (and
  // `answer` is not looked at).
  void open(const char* address, std::uint32_t primary, std::uint32_t secondary,
            std::uint32_t protocol, const char* bracket, const char* colon, std::uint64_t extra,
            const Engine* engine, std::int32_t status);
  void close(const void* session, std::int32_t status);
  void write(const void* session, const Engine* engine, std::uint32_t flags,
             std::int32_t timeout, const std::uint8_t* buffer, std::uint32_t count,
             const std::uint32_t* actual, std::int32_t status, const CallAnswer& answer);
  void read(const void* session, const Engine* engine, std::uint32_t flags, std::int32_t timeout,
            std::uint8_t termination, const std::uint8_t* buffer, std::uint32_t count,
            const std::uint32_t* actual, const std::int32_t* stop_reason, std::int32_t status,
            const CallAnswer& answer);
  // `in` is the start of the data block as the caller passed it.
  void docommand(const void* session, const Engine* engine, std::uint32_t flags,
                 std::int32_t timeout, std::uint32_t command, std::int32_t size,
                 std::int32_t extra, std::string_view in, const std::uint8_t* data,
                 std::int32_t status, const CallAnswer& answer);
  void lock(const char* call, const void* session, const Engine* engine, std::int32_t status);

  // The bytes of a caller's block, or none for a null or empty one.
  static std::string_view block(const std::uint8_t* data, std::int64_t size);
  // As much of the block's start as a trace line shows.
  static std::string_view shown_block(const std::uint8_t* data, std::int64_t size);

 private:
  std::unique_ptr<os::AppendFile> file_;
};

}  // namespace tap
