#pragma once
#include <cstdint>
#include <string>

#include "host/DriverHost.h"
#include "taplayback/host.h"

namespace tap::host {

class ApiHost;

// An open session of the C API: the driver's handle and the settings that
// every call passes along.
class ApiSession {
 public:
  ApiSession(ApiHost& owner, const DriverHost& driver, VarnelSession handle,
             std::string& last_error)
      : last_error(last_error), owner_(owner), driver_(driver), handle_(handle) {}

  ApiHost& owner() const { return owner_; }

  VarnelSession handle() const { return handle_; }

  std::int32_t write(const std::uint8_t* bytes, std::uint32_t count, std::uint32_t* actual) const {
    return driver_.write(handle_, write_flags, timeout, bytes, count, actual);
  }
  std::int32_t read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t* actual,
                    std::int32_t* stop_reason) const {
    return driver_.read(handle_, read_flags, timeout, termination, buffer, count, actual,
                        stop_reason);
  }
  std::int32_t docommand(std::uint32_t flags, std::uint32_t command, std::int32_t size,
                         std::uint8_t* data) const {
    return driver_.docommand(handle_, flags, timeout, command, size, 0, data);
  }

  std::int32_t timeout = TAPHOST_DEFAULT_TIMEOUT_MS;
  std::uint32_t write_flags = 0;
  std::uint32_t read_flags = 0;
  std::uint8_t termination = '\n';
  std::string& last_error;  // the host's

 private:
  ApiHost& owner_;
  const DriverHost& driver_;
  VarnelSession handle_;
};

}  // namespace tap::host
