#pragma once
#include <memory>
#include <mutex>

#include "host/ProcessRegion.h"

namespace tap::host {

// The process has one region, named by its id, however many hosts it runs.
// An open fills the region's fields and the driver reads them during the
// open, so opens take the lock.
struct SharedRegion {
  std::mutex open_lock;
  ProcessRegion region;
};

// The region of the process, created by the first caller and removed when
// the last holder lets it go. Throws std::runtime_error when it cannot be
// created.
std::shared_ptr<SharedRegion> shared_process_region();

}  // namespace tap::host
