#include "driver/Engine.h"

#include "driver/DefaultVarnelHandler.h"
#include "driver/status.h"
#include "platform/os/performance_counter.h"
#include "scripting/HelperThread.h"

namespace tap {

Engine::Engine() : counter_frequency_(os::performance_frequency()) {}

Engine::~Engine() {
  DefaultHandler().Close(this);
}

std::int32_t Engine::Open(const char* address, std::uint32_t primary, std::uint32_t secondary,
                          std::uint32_t protocol, const char* bracket, const char* colon,
                          std::uint64_t extra) {
  address_ = address;
  primary_ = primary;
  secondary_ = secondary;
  protocol_ = protocol;
  bracket_ = bracket;
  colon_ = colon;
  extra_ = extra;
  open_status_ = status::bad_playback_file;
  try {
    HelperThread::LoadFile(this);
  } catch (...) {
    return status::internal_error;
  }
  return open_status_;
}

std::int32_t Engine::Write(std::uint32_t flags, std::int32_t timeout, const std::uint8_t* buffer,
                           std::uint32_t count, std::uint32_t* actual) {
  return DefaultHandler().Write(this, flags, timeout, buffer, count, actual);
}

std::int32_t Engine::Read(std::uint32_t flags, std::int32_t timeout, std::uint8_t termination,
                          std::uint8_t* buffer, std::uint32_t count, std::uint32_t* actual,
                          std::int32_t* stop_reason) {
  return DefaultHandler().Read(this, flags, timeout, termination, buffer, count, actual,
                               stop_reason);
}

std::int32_t Engine::DoCommand(std::uint32_t flags, std::int32_t timeout, std::uint32_t command,
                               std::int32_t size, std::int32_t extra, std::uint8_t* data) {
  return DefaultHandler().DoCommand(this, flags, timeout, command, size, extra, data);
}

std::int32_t Engine::Lock() {
  ++lock_count_;
  return status::ok;
}

std::int32_t Engine::Unlock() {
  if (lock_count_ == 0) return status::not_locked;
  --lock_count_;
  return status::ok;
}

void Engine::LoadPlaybackFile() {
  // The playback-file loader fills this in; until then no load is carried
  // out and the open status stays where Open left it.
}

}  // namespace tap
