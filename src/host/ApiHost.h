#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/ApiSession.h"
#include "host/DriverHost.h"
#include "host/ResourceName.h"
#include "host/SharedRegion.h"

namespace tap::host {

// A host of the C API: the loaded driver, the process's region and the
// sessions opened through it.
class ApiHost {
 public:
  // Throws std::runtime_error when the driver cannot be loaded.
  ApiHost(std::shared_ptr<SharedRegion> region, const std::string& driver_path);
  // Closes the sessions still open.
  ~ApiHost();
  ApiHost(const ApiHost&) = delete;
  ApiHost& operator=(const ApiHost&) = delete;

  // The driver's open status; on 0, *session is the new session, owned here.
  // Throws std::length_error for a text too long for the region.
  std::int32_t open(const std::string& recording, const ResourceAddress& address,
                    ApiSession** session);
  std::int32_t close(ApiSession* session);

  // The resource name of each stream, "" where no name opens it. Throws
  // std::runtime_error when the file is no playback file.
  std::vector<std::string> resource_names(const std::string& recording) const;

  std::string last_error;

 private:
  std::shared_ptr<SharedRegion> region_;
  DriverHost driver_;
  // Each recording keeps its own place in the stream search, as if it were
  // the only one the process plays.
  std::map<std::string, std::uint32_t> next_stream_;
  std::vector<std::unique_ptr<ApiSession>> sessions_;
};

}  // namespace tap::host
